// Who makes Vantor and where users find help: the texts that name the maker,
// the product's web pages and the support address, kept in one place so a
// change of address touches this file alone.
#pragma once

#include "frontend/version.h"

namespace vantor {

// The program's name and version as reported on screens and in the exit
// report.
inline constexpr const char* kProductName = "Vantor";
inline constexpr const char* kProductVersion = kVersion;

// The notice naming the maker in the banner line of the help screens.
inline constexpr const char* kMakerNotice = "Copyright (c) Orbwell Software";

// The maker's web site ("-orbwell" and the welcome screen).
inline constexpr const char* kMakerWebSite = "https://www.example.com/";

// The product's home page ("-home").
inline constexpr const char* kHomePage = "https://www.example.com/vantor/";

// The maker's support web page ("-support").
inline constexpr const char* kSupportPage = "https://www.example.com/support/";

// The maker's support e-mail address (welcome screen and exit report).
inline constexpr const char* kSupportEmail = "support@example.com";

// The help file handed to the shell by "-manual" and "-help": the bare
// name, so the shell finds it through the current directory.
inline constexpr const char* kManualFile = "vantor.chm";

}  // namespace vantor
