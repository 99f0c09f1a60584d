#include "console/io_error_text.h"

#include <iterator>

namespace vantor::console {
namespace {

struct IoError {
  std::uint32_t number;
  const char* text;
};

// "%" stands for a drive letter that is never known here.
constexpr IoError kIoErrors[] = {
    // Operating-system file errors
    {1, "Invalid function number"},
    {2, "File not found"},
    {3, "Path not found"},
    {4, "Too many open files"},
    {5, "File access denied"},
    {6, "Invalid file handle"},
    {12, "Invalid file access code"},
    {15, "Invalid drive number"},
    {16, "Cannot remove current folder "},
    {17, "Cannot rename across drives"},
    {18, "No more files"},
    // Network errors
    {50, "Network request not supported"},
    {51, "Remote computer not listening"},
    {52, "Duplicate name on network"},
    {53, "Computer name in network path cannot be located"},
    {54, "Network busy"},
    {55, "Network device no longer exists"},
    {56, "Net BIOS command limit exceeded"},
    {57, "Network adapter hardware error"},
    {58, "Incorrect response from network"},
    {59, "Unexpected network error"},
    {60, "Incompatible remote adapter"},
    {65, "Access denied"},
    {66, "Network device type incorrect"},
    {67, "Shared network name was not found"},
    {70, "Temporarily paused"},
    {71, "Network request not accepted"},
    {86, "Invalid password"},
    // Run-time file errors
    {100, "File is wrong format (read past EOF)"},
    {101, "Disk full"},
    {102, "File not assigned"},
    {103, "File not open"},
    {104, "File not open for input"},
    {105, "File not open for output"},
    {106, "Invalid numeric format"},
    // Device errors
    {150, "Disk is write-protected in drive %:"},
    {151, "Bad drive request struct length on drive %:"},
    {152, "Disk not ready in drive %: (Door open?)"},
    {154, "Data integrity error on drive %:"},
    {156, "Disk seek error on drive %:"},
    {157, "Unknown media type in drive %:"},
    {158, "Sector not found on drive %:"},
    {159, "Printer out of paper"},
    {160, "Device write fault"},
    {161, "Device read fault"},
    {162, "Hardware failure on drive %:"},
    {163, "Bad memory image of FAT on drive %:"},
    {164, "Device access error"},
    {165, "Replace diskette in drive %:"},
    // Run-time errors
    {200, "Division by zero"},
    {201, "Range check error"},
    {202, "Stack overflow error"},
    {203, "Heap overflow error (out of memory)"},
    {204, "Invalid pointer operation"},
    {205, "Floating point overflow"},
    {206, "Floating point underflow"},
    {207, "Invalid floating point operation"},
    {208, "Overlay manager not installed"},
    {209, "Overlay file read error"},
    {210, "Object not initialized"},
    {211, "Call to abstract method"},
    {212, "Stream registration error"},
    {213, "Collection index out of range"},
    {214, "Collection overflow error"},
    {215, "Arithmetic overflow error"},
    {216, "General Protection fault"},
};

static_assert(std::size(kIoErrors) == 66, "one text for each known error number");

std::string UnexpectedErrorText(std::uint32_t number) {
  return "Unexpected error " + std::to_string(number);
}

bool IsRunTimeNumber(std::uint32_t number) {
  return (number >= 100 && number <= 106) || (number >= 200 && number <= 216);
}

}  // namespace

std::string IoErrorText(std::uint32_t number) {
  std::string text = UnexpectedErrorText(number);
  for (const IoError& error : kIoErrors) {
    if (error.number == number) text = error.text;
  }
  std::size_t placeholder = text.find('%');
  if (placeholder != std::string::npos) text[placeholder] = 'C';
  return text;
}

std::string SystemErrorText(std::uint32_t number) {
  return IsRunTimeNumber(number) ? UnexpectedErrorText(number) : IoErrorText(number);
}

}  // namespace vantor::console
