#include "matching/grading.h"

#include "base/utf8_text.h"

namespace vantor::matching {

SplitName SplitExtension(std::string_view text) {
  std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) return {text, {}};
  return {text.substr(0, dot), LeadingBytes(text.substr(dot + 1), kMaxExtension)};
}

bool PatternPrefixMatch(std::string_view pattern, std::string_view text) {
  std::size_t at = 0;
  for (char c : pattern) {
    if (c == '*') return true;
    if (at >= text.size()) return false;
    if (c == '?') {
      at += CharLength(text, at);
      continue;
    }
    // A character of several bytes matches byte by byte.
    if (c != text[at]) return false;
    ++at;
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
