// Test helper: the lock that guards the settings store (the file VANTOR
// names, or the registry key without it), taken as the program takes it.
//
//   settings_lock hold   takes it, prints "held" and keeps it until killed
//   settings_lock try    prints "free" when it can be taken at once (it is
//                        given back at once), "busy" when another holds it
//
// Exit codes: 0 done, 1 bad arguments, 2 VANTOR names no usable file,
// 3 the lock could not be taken by "hold".
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/system.h"
#include "store/settings.h"

int main(int argc, char** argv) {
  if (argc != 2 || (std::strcmp(argv[1], "hold") != 0 && std::strcmp(argv[1], "try") != 0)) {
    std::fputs("usage: settings_lock hold|try\n", stderr);
    return 1;
  }
  std::string name = vantor::store::SettingsLockName();
  if (name.empty()) return 2;
  bool taken = vantor::sys::TakeSharedLock(name, 0);
  if (std::strcmp(argv[1], "try") == 0) {
    std::puts(taken ? "free" : "busy");
    vantor::sys::GiveBackSharedLock();
    return 0;
  }
  if (!taken) return 3;
  std::puts("held");
  std::fflush(stdout);
  Sleep(INFINITE);
  return 0;
}
