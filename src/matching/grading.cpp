#include "matching/grading.h"

#include <string>

#include "matching/find_matches.h"

namespace vantor::matching {

SplitName SplitAtFirstDot(std::string_view text) {
  std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) return {text, {}};
  return {text.substr(0, dot), text.substr(dot + 1, kMaxExtension)};
}

bool PrefixMatches(std::string_view pattern, std::string_view text) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '*') return true;
    if (i >= text.size()) return false;
    if (pattern[i] != '?' && pattern[i] != text[i]) return false;
  }
  return true;
}

bool WildMatches(const SplitName& component, const SplitName& name) {
  return PrefixMatches(component.base, name.base) &&
         PrefixMatches(component.extension, name.extension);
}

bool Overtypes(std::string_view component, std::string_view name) {
  return component.size() >= name.size() && component.substr(0, name.size()) == name;
}

std::string SplitFirstComponent(std::string& rest) {
  std::size_t separator = rest.find('\\');
  std::string component;
  if (separator == std::string::npos) {
    component.swap(rest);
  } else {
    component = rest.substr(0, separator);
    rest.erase(0, separator + 1);
  }
  return component;
}

void SplitExtension(const std::string& text, std::string& base, std::string& extension) {
  SplitName split = SplitAtFirstDot(text);
  base.assign(split.base);
  extension.assign(split.extension);
}

bool PatternPrefixMatch(const std::string& pattern, const std::string& text) {
  return PrefixMatches(pattern, text);
}

bool WildMatch(const std::string& component, const std::string& name) {
  return WildMatches(SplitAtFirstDot(component), SplitAtFirstDot(name));
}

bool OvertypedMatch(const std::string& component, const std::string& name) {
  return Overtypes(component, name);
}

}  // namespace vantor::matching
