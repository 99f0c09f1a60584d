#include "frontend/error_trap.h"

#include <exception>
#include <new>

#include "frontend/maker_info.h"

namespace vantor {
namespace {

std::string program_name;
std::string program_version;

constexpr const char* kLineEnd = "\r\n";

// Structured exception codes of the faults with a number of their own.
constexpr std::uint32_t kCodeIntDivideByZero = 0xC0000094;
constexpr std::uint32_t kCodeIntOverflow = 0xC0000095;
constexpr std::uint32_t kCodeStackOverflow = 0xC00000FD;
constexpr std::uint32_t kCodeNoMemory = 0xC0000017;

}  // namespace

void SetProgramIdentity(const std::string& name, const std::string& version) {
  program_name = name.substr(0, kMaxProgramName);
  program_version = version.substr(0, kMaxProgramVersion);
}

std::string ErrorReport(int number, const std::vector<std::string>& arguments) {
  std::string report = std::string("*** An error occurred ***") + kLineEnd;
  if (number == kFatalStackOverflow) report += std::string("Stack overflow error") + kLineEnd;
  report += kLineEnd;
  report += std::string("Please email the following information and a description of what you") +
            kLineEnd;
  report += std::string("were doing to ") + kSupportEmail + kLineEnd;
  report += kLineEnd;
  report += "Program: " + program_name + "  Version: " + program_version + kLineEnd;
  report += "Command line:";
  for (const std::string& argument : arguments) report += " " + argument;
  report += kLineEnd;
  report += "Error number " + std::to_string(number) + kLineEnd;
  return report;
}

int FatalErrorForException(std::uint32_t exception_code) {
  switch (exception_code) {
    case kCodeIntDivideByZero:
      return kFatalDivideByZero;
    case kCodeIntOverflow:
      return kFatalArithmeticOverflow;
    case kCodeStackOverflow:
      return kFatalStackOverflow;
    case kCodeNoMemory:
      return kFatalOutOfMemory;
    default:
      return kFatalGeneralFault;
  }
}

int FatalErrorForCurrentException() {
  std::exception_ptr current = std::current_exception();
  if (!current) return kFatalGeneralFault;
  try {
    std::rethrow_exception(current);
  } catch (const std::bad_alloc&) {
    return kFatalOutOfMemory;
  } catch (...) {
    return kFatalGeneralFault;
  }
}

}  // namespace vantor
