#include "frontend/required_start_dir.h"

#include "base/exit.h"
#include "base/start_dir.h"
#include "console/wincrt.h"

namespace vantor {

void ReportUnreadableStartDir() {
  console::WriteColouredLine(console::kColourError,
                             "Vantor: Error - can't read the current directory");
  EndRun(kExitRunError);
}

const std::string& RequireStartDir() {
  if (StartDir().empty()) ReportUnreadableStartDir();
  return StartDir();
}

}  // namespace vantor
