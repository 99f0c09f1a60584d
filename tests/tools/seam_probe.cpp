// Test tool: calls one function of the real operating-system seam and
// prints its result as hexadecimal bytes, so that the end-to-end tests can
// check the Win32 side itself in any code page Wine is started in.
//   seam_probe upper HEX        UpperCase of the bytes HEX
//   seam_probe cmdline ...      CommandLine() of this process
//   seam_probe env NAME         GetEnv(NAME); "undefined" when it is not set
//   seam_probe fullpath HEX     FullPathName of the bytes HEX; "failed" when
//                               it cannot be resolved
//   seam_probe encode CP HEX    EncodeText of the bytes HEX in code page CP,
//                               then " exact" or " inexact"
// Bytes go in and come out as hex so that no code page stands between the
// test and the function.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/system.h"

namespace {

std::string FromHex(const char* hex) {
  std::string bytes;
  for (std::size_t i = 0; hex[i] != '\0' && hex[i + 1] != '\0'; i += 2) {
    char pair[3] = {hex[i], hex[i + 1], '\0'};
    bytes += static_cast<char>(std::strtoul(pair, nullptr, 16));
  }
  return bytes;
}

int PrintHex(const std::string& bytes) {
  for (char c : bytes) std::printf("%02x", static_cast<unsigned char>(c));
  std::printf("\n");
  return 0;
}

int Probe(int argc, char** argv) {
  std::string what = argc > 1 ? argv[1] : "";
  if (what == "upper" && argc > 2) {
    std::string text = FromHex(argv[2]);
    vantor::sys::UpperCase(text);
    return PrintHex(text);
  }
  if (what == "cmdline") return PrintHex(vantor::sys::CommandLine());
  if (what == "env" && argc > 2) {
    std::string value;
    if (!vantor::sys::GetEnv(argv[2], value)) {
      std::printf("undefined\n");
      return 0;
    }
    return PrintHex(value);
  }
  if (what == "fullpath" && argc > 2) {
    vantor::sys::UseOemFileApis();
    std::string full;
    if (!vantor::sys::FullPathName(FromHex(argv[2]), full)) {
      std::printf("failed\n");
      return 0;
    }
    return PrintHex(full);
  }
  if (what == "encode" && argc > 3) {
    std::string bytes;
    bool exact =
        vantor::sys::EncodeText(FromHex(argv[3]), std::strtoul(argv[2], nullptr, 10), bytes);
    for (char c : bytes) std::printf("%02x", static_cast<unsigned char>(c));
    std::printf(exact ? " exact\n" : " inexact\n");
    return 0;
  }
  std::printf(
      "usage: seam_probe upper HEX | cmdline ... | env NAME | fullpath HEX | encode CP HEX\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) { return Probe(argc, argv); }
