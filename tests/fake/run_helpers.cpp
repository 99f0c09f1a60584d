#include "fake/run_helpers.h"

#include "fake/fake_system.h"
#include "frontend/run.h"

namespace vantor::fake {

int RunVantor(const std::string& arguments) {
  Fake().command_line = "C:\\Tools\\vantor.exe" + (arguments.empty() ? "" : " " + arguments);
  Fake().output.clear();
  Fake().colour_log.clear();
  Fake().listed.clear();
  try {
    return RunProgram();
  } catch (const CtrlCExit&) {
    return kCtrlCExitCode;
  }
}

std::string HandOffContent() {
  std::string temp = Fake().environment.count("TEMP") ? Fake().environment["TEMP"] : "";
  if (!temp.empty() && temp.back() != '\\') temp += '\\';
  return Fake().FileContent(temp + "vantor2.bat");
}

std::string ExpectedHandOff(const std::string& drive_line, const std::string& change_path) {
  std::string text = drive_line.empty() ? "" : drive_line + "\r\n";
  return text + "chdir \"" + change_path + "\"\r\n";
}

}  // namespace vantor::fake
