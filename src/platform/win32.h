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

}  // namespace vantor::sys
