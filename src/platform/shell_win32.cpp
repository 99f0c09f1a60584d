#include <cstring>

#include "platform/system.h"
#include "platform/win32.h"
// shellapi.h needs the definitions of windows.h first.
#include <shellapi.h>

namespace vantor::sys {

std::intptr_t ShellOpen(const std::string& file, const std::string& parameters,
                        const std::string& directory, int show_command) {
  HINSTANCE result = ShellExecuteA(nullptr, nullptr, file.c_str(), parameters.c_str(),
                                   directory.c_str(), show_command);
  return reinterpret_cast<std::intptr_t>(result);
}

bool CopyToClipboard(const std::string& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  bool done = false;
  if (memory != nullptr) {
    void* target = GlobalLock(memory);
    if (target != nullptr) {
      std::memcpy(target, text.c_str(), text.size() + 1);
      GlobalUnlock(memory);
      done = SetClipboardData(CF_OEMTEXT, memory) != nullptr;
    }
    if (!done) GlobalFree(memory);
  }
  CloseClipboard();
  return done;
}

}  // namespace vantor::sys
