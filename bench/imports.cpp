// The bare start of a process that loads the same system libraries as
// vantor.exe (kernel32, advapi32, user32, shell32) and does nothing else.
// Under Wine the start of user32 alone costs tens of milliseconds, which
// the floor program does not pay.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

int main(int argc, char**) {
  // Never true: the calls only keep the libraries among the imports.
  if (argc > 1000) {
    CharUpperBuffA(nullptr, 0);
    RegCloseKey(nullptr);
    ShellExecuteA(nullptr, nullptr, nullptr, nullptr, nullptr, 0);
  }
  return 0;
}
