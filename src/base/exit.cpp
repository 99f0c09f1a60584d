#include "base/exit.h"

namespace vantor {

void EndRun(int code) { throw RunEnded{code}; }

void RaiseError(const std::string& message) { throw UnhandledError{message}; }

}  // namespace vantor
