#include "text/name_match.h"

#include "text/text_utils.h"

namespace corvane {

namespace {

bool sameLetter(char a, char b) {
  return upperCaseAscii(static_cast<unsigned char>(a)) ==
         upperCaseAscii(static_cast<unsigned char>(b));
}

// The whole name against a pattern with wildcards. A "*" first matches
// nothing; when the rest fails, the last "*" seen takes one character more.
// Going back to an earlier "*" is never needed (whatever it could take, the
// later one can take instead), so the work is at most the name's length
// times the pattern's, and no pattern makes it blow up.
bool matchesWhole(std::string_view name, std::string_view pattern) {
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t starAt = std::string_view::npos;  // the pattern just after the last "*"
  std::size_t starName = 0;                     // where that "*" stops taking for now
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starAt = ++p;
      starName = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || sameLetter(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (starAt != std::string_view::npos) {
      p = starAt;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool holdsNoCase(std::string_view name, std::string_view part) {
  if (part.size() > name.size()) return false;
  for (std::size_t start = 0; start + part.size() <= name.size(); ++start) {
    std::size_t i = 0;
    while (i < part.size() && sameLetter(name[start + i], part[i])) ++i;
    if (i == part.size()) return true;
  }
  return false;
}

}  // namespace

bool hasWildcard(std::string_view pattern) {
  return pattern.find_first_of("*?") != std::string_view::npos;
}

bool matchesName(std::string_view name, std::string_view pattern) {
  return hasWildcard(pattern) ? matchesWhole(name, pattern) : holdsNoCase(name, pattern);
}

}  // namespace corvane
