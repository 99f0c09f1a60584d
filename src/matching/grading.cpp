#include "matching/grading.h"

namespace vantor::matching {

SplitName SplitExtension(std::string_view text) {
  std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) return {text, {}};
  return {text.substr(0, dot), text.substr(dot + 1, kMaxExtension)};
}

bool PatternPrefixMatch(std::string_view pattern, std::string_view text) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '*') return true;
    if (i >= text.size()) return false;
    if (pattern[i] != '?' && pattern[i] != text[i]) return false;
  }
  return true;
}

bool WildMatch(const SplitName& component, const SplitName& name) {
  return PatternPrefixMatch(component.base, name.base) &&
         PatternPrefixMatch(component.extension, name.extension);
}

bool OvertypedMatch(std::string_view component, std::string_view name) {
  return component.size() >= name.size() && component.substr(0, name.size()) == name;
}

}  // namespace vantor::matching
