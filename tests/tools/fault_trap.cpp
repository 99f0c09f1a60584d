// Test tool: installs the program's exit report exactly as vantor.exe does
// and then dies of the fatal error named by its first argument, so that the
// end-to-end tests can see the report and the exit code of a real fault.
//   fault_trap stack|access|divide|overflow|throw|oom|none
// It is a separate program so that vantor.exe itself carries no way to
// provoke a fault.
#include <climits>
#include <cstddef>
#include <cstring>
#include <stdexcept>

#include "frontend/error_trap.h"

namespace {

volatile bool keep_going = true;
volatile int zero = 0;
volatile int seven = 7;
volatile int minus_one = -1;
volatile int smallest = INT_MIN;
// More than any address space holds, so the allocation fails at once.
volatile std::size_t huge_size = static_cast<std::size_t>(1) << 62;
int* volatile no_address = nullptr;
void* volatile allocated = nullptr;

// Each level keeps a page of stack in use, so the stack runs out quickly.
int Recurse(int depth) {
  volatile char page[4096];
  page[0] = static_cast<char>(depth);
  if (keep_going) return Recurse(depth + 1) + page[0];
  return page[0];
}

int Provoke(const char* what) {
  if (std::strcmp(what, "stack") == 0) return Recurse(0);
  if (std::strcmp(what, "access") == 0) return *no_address = 1;
  if (std::strcmp(what, "divide") == 0) return seven / zero;
  if (std::strcmp(what, "overflow") == 0) return smallest / minus_one;
  if (std::strcmp(what, "throw") == 0) throw std::runtime_error("stray exception");
  if (std::strcmp(what, "oom") == 0) allocated = ::operator new(huge_size);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  vantor::InstallErrorTrap();
  vantor::SetProgramIdentity("Vantor", "3.3");
  return Provoke(argc > 1 ? argv[1] : "none") == 0 ? 0 : 3;
}
