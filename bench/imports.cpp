// The bare start of a process that loads the same system libraries as
// vantor.exe at start (kernel32 and advapi32; user32 and shell32 are loaded
// only when a run needs them) and does nothing else.
#include <windows.h>

int main(int argc, char**) {
  // Never true: the call only keeps the library among the imports.
  if (argc > 1000) RegCloseKey(nullptr);
  return 0;
}
