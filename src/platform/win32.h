// The one header of the program that includes <windows.h>. Only the
// *_win32.cpp files of this folder include it.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <string_view>

namespace vantor::sys {

// The program's UTF-8 text as UTF-16 for the ...W calls, and back. A byte
// that begins no well-formed character becomes U+FFFD.
std::wstring Widen(std::string_view text);
std::string Narrow(const wchar_t* text, std::size_t length);
inline std::string Narrow(const std::wstring& text) { return Narrow(text.data(), text.size()); }

// The function `name` of the system library `library`, which is loaded on
// first use; nullptr when either is missing. user32 and shell32 are loaded
// this way because starting them costs a run tens of milliseconds (far more
// under Wine), and most runs never need them.
template <typename Function>
Function LibraryFunction(const char* library, const char* name) {
  HMODULE module = LoadLibraryA(library);
  FARPROC found = module != nullptr ? GetProcAddress(module, name) : nullptr;
  // Through the generic function type, which converts to any other.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace vantor::sys
