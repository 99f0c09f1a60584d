// The hand-off to the calling shell: the batch file that the wrapper runs
// after the program has ended ("vantor2.bat" in TEMP, or the file the
// wrapper names in VANTOR_HANDOFF), and the change of directory in which
// every run that reaches a target ends.
#pragma once

#include <string>

namespace vantor::handoff {

// The environment variable in which a wrapper names the hand-off file of
// its own run, so that runs side by side never share one.
inline constexpr const char* kHandOffVariable = "VANTOR_HANDOFF";

// The full name of the hand-off file: the value of VANTOR_HANDOFF when it
// is set and not empty; otherwise TEMP, a '\' unless TEMP ends with one,
// and "vantor2.bat", which ends the run (243) when TEMP is not defined.
std::string HandOffFileName();

// Creates the hand-off file holding `text` and a CR LF. Ends the run with
// 243 (after its message) when TEMP is missing or the file can't be made.
void WriteHandOffFile(const std::string& text);

// The lines that change the shell to `path`, in the bytes of the console's
// code page: a drive line and a chdir line, or for a network path
// ("\\server\share...") a pushd line alone, since cmd enters a network path
// only through pushd (which maps a drive letter for it). Each '%' of the
// path is written as "%%", since the shell expands '%' inside batch files.
// A path that the console's code page cannot hold is named in UTF-8
// between "chcp 65001" and a chcp back to the console's code page, with its
// short form as the way in for a shell that refuses UTF-8.
std::string HandOffText(const std::string& path);

// Writes HandOffText(path) into the hand-off file.
void HandOffDirectory(const std::string& path);

// Reports that the directory `target` could not be entered (or, once
// entered, not be read back as a full path) and ends the run with 243.
[[noreturn]] void ReportCannotEnter(const std::string& target);

// Makes `target` the process's current directory and gives its full path as
// the system reads it back; empty when it cannot be entered, or is too deep
// to be read back as a full path the shell could use.
std::string EnterDirectory(const std::string& target);

// Enters `target`, records the full path in the history, writes the
// hand-off file and ends the run with 0; 243 when it cannot be entered.
[[noreturn]] void ChangeToDirectory(const std::string& target);

}  // namespace vantor::handoff
