// The last-chance report: when the process dies of a fatal run-time error
// (a fault such as a stack overflow or an access violation, memory running
// out, or a C++ exception that nothing caught), a short report asks the
// user to mail the facts to the maker and names the program, its version,
// the command line and the error number, which is also the exit code.
// Every ordinary way out of the process passes without a word from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantor {

// The error numbers of the fatal errors the report names.
enum FatalError : int {
  kFatalDivideByZero = 200,        // integer division by zero
  kFatalStackOverflow = 202,       // stack overflow
  kFatalOutOfMemory = 203,         // memory exhausted
  kFatalArithmeticOverflow = 215,  // integer overflow trap
  kFatalGeneralFault = 216,        // access violation, any other fault, stray exception
};

// The longest program name and version the report keeps.
inline constexpr std::size_t kMaxProgramName = 30;
inline constexpr std::size_t kMaxProgramVersion = 10;

// Keeps the program name and version for the report, cut to 30 and 10
// characters. Both are empty until this is called.
void SetProgramIdentity(const std::string& name, const std::string& version);

// The full report for error `number`, every line ending in CR LF.
// `arguments` are the command line's arguments from argument 0 on.
std::string ErrorReport(int number, const std::vector<std::string>& arguments);

// The error number for a structured exception code of the system (such as
// 0xC00000FD for a stack overflow); kFatalGeneralFault for those the
// report has no number of its own for.
int FatalErrorForException(std::uint32_t exception_code);

// The error number for the C++ exception being handled in a terminate
// handler: out of memory for std::bad_alloc, kFatalGeneralFault for
// anything else (or when there is none).
int FatalErrorForCurrentException();

// Installs the trap: a handler for faults that nothing handles, one for
// exceptions that nothing catches and one for memory running out, and
// stack room for reporting a stack overflow. Called first in main, before
// start-up. Only on Windows (error_trap_win32.cpp).
void InstallErrorTrap();

// Writes the report for `number` to standard output with plain output (no
// colour change) and ends the process with `number` as its exit code.
// Only on Windows (error_trap_win32.cpp).
[[noreturn]] void ExitReport(int number);

}  // namespace vantor
