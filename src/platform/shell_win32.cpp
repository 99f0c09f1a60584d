#include <cstring>

#include "platform/system.h"
#include "platform/win32.h"

namespace vantor::sys {
namespace {

using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
using OpenClipboardFunction = BOOL(WINAPI*)(HWND);
using EmptyClipboardFunction = BOOL(WINAPI*)();
using SetClipboardDataFunction = HANDLE(WINAPI*)(UINT, HANDLE);
using CloseClipboardFunction = BOOL(WINAPI*)();

// The clipboard calls of user32, loaded together.
struct Clipboard {
  OpenClipboardFunction open =
      LibraryFunction<OpenClipboardFunction>("user32.dll", "OpenClipboard");
  EmptyClipboardFunction empty =
      LibraryFunction<EmptyClipboardFunction>("user32.dll", "EmptyClipboard");
  SetClipboardDataFunction set_data =
      LibraryFunction<SetClipboardDataFunction>("user32.dll", "SetClipboardData");
  CloseClipboardFunction close =
      LibraryFunction<CloseClipboardFunction>("user32.dll", "CloseClipboard");

  bool Loaded() const { return open && empty && set_data && close; }
};

// A moveable memory block holding `text` and its terminating zero.
HGLOBAL TextBlock(const std::string& text) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (memory == nullptr) return nullptr;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, text.c_str(), text.size() + 1);
  GlobalUnlock(memory);
  return memory;
}

}  // namespace

std::intptr_t ShellOpen(const std::string& file, const std::string& parameters,
                        const std::string& directory, int show_command) {
  const auto shell_execute = LibraryFunction<ShellExecuteFunction>("shell32.dll", "ShellExecuteA");
  if (shell_execute == nullptr) return 0;
  HINSTANCE result = shell_execute(nullptr, nullptr, file.c_str(), parameters.c_str(),
                                   directory.c_str(), show_command);
  return reinterpret_cast<std::intptr_t>(result);
}

// The text is in the OEM code page, so it goes in as CF_OEMTEXT; the system
// offers it to readers as plain and Unicode text too.
bool CopyToClipboard(const std::string& text) {
  const Clipboard clipboard;
  if (!clipboard.Loaded() || !clipboard.open(nullptr)) return false;
  clipboard.empty();
  HGLOBAL memory = TextBlock(text);
  bool done = memory != nullptr && clipboard.set_data(CF_OEMTEXT, memory) != nullptr;
  if (!done && memory != nullptr) GlobalFree(memory);
  clipboard.close();
  return done;
}

}  // namespace vantor::sys
