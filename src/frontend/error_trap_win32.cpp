// The Win32 side of the exit report: the hooks that catch a fatal error
// and the end of the process after the report.
#include <exception>
#include <new>

#include "frontend/command_line.h"
#include "frontend/error_trap.h"
#include "platform/system.h"
#include "platform/win32.h"

namespace vantor {
namespace {

// Stack kept back for the handler of a stack overflow: enough to build and
// write the report after the guard page has been used up.
constexpr ULONG kStackGuarantee = 64 * 1024;

// Freed before the report is built, so that it can still be built when
// memory has run out.
constexpr std::size_t kMemoryReserve = 64 * 1024;
char* memory_reserve = nullptr;

LONG WINAPI UnhandledFault(EXCEPTION_POINTERS* pointers) {
  ExitReport(FatalErrorForException(pointers->ExceptionRecord->ExceptionCode));
}

[[noreturn]] void UncaughtException() { ExitReport(FatalErrorForCurrentException()); }

[[noreturn]] void OutOfMemory() { ExitReport(kFatalOutOfMemory); }

}  // namespace

void InstallErrorTrap() {
  memory_reserve = new char[kMemoryReserve];
  ULONG guarantee = kStackGuarantee;
  SetThreadStackGuarantee(&guarantee);
  // The handler in place before (the C runtime's) is not called on: the
  // report ends the process itself with the error number.
  SetUnhandledExceptionFilter(UnhandledFault);
  std::set_terminate(UncaughtException);
  std::set_new_handler(OutOfMemory);
}

void ExitReport(int number) {
  static bool reporting = false;
  // A second fault while reporting ends the process without a second report.
  if (reporting) ExitProcess(static_cast<UINT>(number));
  reporting = true;
  delete[] memory_reserve;
  memory_reserve = nullptr;
  // A fault while keys were read raw leaves no guard to switch back: the
  // console would keep Ctrl+C from the programs that use it next.
  sys::RestoreInputMode();
  sys::WriteOut(ErrorReport(number, SplitCommandLine(sys::CommandLine())));
  ExitProcess(static_cast<UINT>(number));
}

}  // namespace vantor
