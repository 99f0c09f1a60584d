#include "frontend/error_trap.h"
#include "frontend/run.h"

int main() {
  vantor::InstallErrorTrap();
  return vantor::RunProgram();
}
