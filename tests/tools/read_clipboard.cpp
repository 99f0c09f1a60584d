// Test tool: writes the clipboard's plain text (OEM code page) to standard
// output. Exit code 0 when there was text, 2 when the clipboard held none,
// 3 when it could not be opened.
//
// Under Wine without a display the clipboard lives only as long as some
// process holds it: run this right after the program that wrote it.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstring>

namespace {

bool OpenClipboardPatiently() {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (OpenClipboard(nullptr)) return true;
    Sleep(10);
  }
  return false;
}

}  // namespace

int main() {
  if (!OpenClipboardPatiently()) return 3;
  HANDLE data = GetClipboardData(CF_OEMTEXT);
  int code = 2;
  const char* text = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
  if (text != nullptr) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(std::strlen(text)),
              &written, nullptr);
    GlobalUnlock(data);
    code = 0;
  }
  CloseClipboard();
  return code;
}
