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

namespace vantor::sys {

// Converts UTF-16 text to bytes of the OEM code page.
std::string WideToOem(const wchar_t* text, int length);

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
