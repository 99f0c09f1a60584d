// The grades of one typed component against one directory name, on texts
// that are already upper-cased. The search calls these once per name of a
// level, so they work on views and allocate nothing.
#pragma once

#include <string_view>

namespace vantor::matching {

// The longest extension, in bytes, that takes part in matching.
inline constexpr std::size_t kMaxExtension = 1024;

// A text split at its first '.': the base before it and the extension
// after it (cut to kMaxExtension). Without a '.', all of it is the base.
struct SplitName {
  std::string_view base;
  std::string_view extension;
};

SplitName SplitExtension(std::string_view text);

// '?' stands for one character (of however many bytes) that must be
// present, '*' ends the match
// successfully, every other character must equal the text's; the text may
// go on beyond the pattern.
bool PatternPrefixMatch(std::string_view pattern, std::string_view text);

// The wildcard and abbreviation grade: PatternPrefixMatch of base against
// base and of extension against extension. The component is split once per
// level, each name once.
bool WildMatch(const SplitName& component, const SplitName& name);

// The overtyped grade: true when `name` is a leading part of `component`.
bool OvertypedMatch(std::string_view component, std::string_view name);

}  // namespace vantor::matching
