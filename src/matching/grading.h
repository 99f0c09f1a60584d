// The grades of one typed component against one directory name, on texts
// that are already upper-cased. The search calls these once per name of a
// level, so they work on views and allocate nothing.
#pragma once

#include <string_view>

namespace vantor::matching {

// The longest extension that takes part in matching.
inline constexpr std::size_t kMaxExtension = 1024;

// A text split at its first '.': the base before it and the extension
// after it (cut to kMaxExtension). Without a '.', all of it is the base.
struct SplitName {
  std::string_view base;
  std::string_view extension;
};

SplitName SplitAtFirstDot(std::string_view text);

// '?' stands for one character that must be present, '*' ends the match
// successfully, every other character must equal the text's; the text may
// go on beyond the pattern.
bool PrefixMatches(std::string_view pattern, std::string_view text);

// Base against base and extension against extension.
bool WildMatches(const SplitName& component, const SplitName& name);

// True when `name` is a leading part of `component`.
bool Overtypes(std::string_view component, std::string_view name);

}  // namespace vantor::matching
