// The quiet listing mode, "vantor --complete WORD": the directories that
// typing WORD after c would lead to, one full path a line, for a shell's
// tab completion. It has no side effects at all.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vantor {

// The most candidates one listing prints.
inline constexpr std::size_t kMaxCandidates = 1000;

// True when the first argument after the program path is "--complete" or
// "--complete-utf8", in any case. `args` are the command line's arguments
// from argument 0 on.
bool IsListingRequest(const std::vector<std::string>& args);

// Writes the candidates for the arguments after "--complete" as the run
// would join them, and returns exit code 0 whatever it finds: an existing
// directory named as typed, an alias's directory, the entries the
// selection screen would offer (in its order), for "-" the history entries
// behind the front one that can be entered, and for "-N" the one entry
// "c -N" enters. Nothing when nothing matches, the word is empty, another
// option or an error the run would report. Records, saves, creates and writes nothing
// but standard output; sets no colour and no console mode, reads no key.
// Written to a file or a pipe, the lines are in the console's code page
// after "--complete" (with '?' for what it cannot hold) and in UTF-8 after
// "--complete-utf8", which gives every name exactly.
int ListCandidates(const std::vector<std::string>& args);

}  // namespace vantor
