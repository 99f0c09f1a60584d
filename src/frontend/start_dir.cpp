#include "frontend/start_dir.h"

#include "console/wincrt.h"
#include "frontend/exit.h"

namespace vantor {
namespace {
std::string start_dir;
}

const std::string& StartDir() { return start_dir; }
void SetStartDir(const std::string& dir) { start_dir = dir; }

void ReportUnreadableStartDir() {
  console::WriteColouredLine(console::kColourError,
                             "Vantor: Error - can't read the current directory");
  EndRun(kExitRunError);
}

const std::string& RequireStartDir() {
  if (start_dir.empty()) ReportUnreadableStartDir();
  return start_dir;
}

}  // namespace vantor
