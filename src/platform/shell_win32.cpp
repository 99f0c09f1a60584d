#include <cstring>

#include "platform/system.h"
#include "platform/win32.h"

namespace vantor::sys {
namespace {

using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
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
HGLOBAL TextBlock(const std::wstring& text) {
  const std::size_t size = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return nullptr;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, text.c_str(), size);
  GlobalUnlock(memory);
  return memory;
}

}  // namespace

std::intptr_t ShellOpen(const std::string& file, const std::string& parameters,
                        const std::string& directory, int show_command) {
  const auto shell_execute = LibraryFunction<ShellExecuteFunction>("shell32.dll", "ShellExecuteW");
  if (shell_execute == nullptr) return 0;
  HINSTANCE result = shell_execute(nullptr, nullptr, Widen(file).c_str(), Widen(parameters).c_str(),
                                   Widen(directory).c_str(), show_command);
  return reinterpret_cast<std::intptr_t>(result);
}

// The text goes in as Unicode text; the system offers it to readers in the
// code pages too.
bool CopyToClipboard(const std::string& text) {
  const Clipboard clipboard;
  if (!clipboard.Loaded() || !clipboard.open(nullptr)) return false;
  clipboard.empty();
  HGLOBAL memory = TextBlock(Widen(text));
  bool done = memory != nullptr && clipboard.set_data(CF_UNICODETEXT, memory) != nullptr;
  if (!done && memory != nullptr) GlobalFree(memory);
  clipboard.close();
  return done;
}

}  // namespace vantor::sys
