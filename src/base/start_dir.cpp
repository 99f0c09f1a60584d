#include "base/start_dir.h"

namespace vantor {
namespace {
std::string start_dir;
}

const std::string& StartDir() { return start_dir; }
void SetStartDir(const std::string& dir) { start_dir = dir; }

}  // namespace vantor
