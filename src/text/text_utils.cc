#include "text/text_utils.h"

#include <algorithm>
#include <ostream>
#include <unordered_map>

namespace corvane {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

unsigned char foldByte(char c) {
  return static_cast<unsigned char>(upperCaseAscii(static_cast<unsigned char>(c)));
}

bool equalNoCaseFrom(std::string_view text, std::size_t start, std::string_view other) {
  for (std::size_t i = 0; i < other.size(); ++i) {
    if (foldByte(text[start + i]) != foldByte(other[i])) return false;
  }
  return true;
}

}  // namespace

std::string trim(std::string_view text) { return trimRight(trimLeft(text)); }

bool isBlankText(std::string_view text) { return std::all_of(text.begin(), text.end(), isBlank); }

std::string trimLeft(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && isBlank(text[start])) ++start;
  return std::string(text.substr(start));
}

std::string trimRight(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && isBlank(text[end - 1])) --end;
  return std::string(text.substr(0, end));
}

std::string padRight(std::string_view text, std::size_t width, char fill) {
  std::string result(text);
  if (result.size() < width) result.append(width - result.size(), fill);
  return result;
}

std::string upperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(foldByte(c));
  return result;
}

std::string beforeLast(std::string_view text, std::string_view separator) {
  std::size_t at = text.rfind(separator);
  if (at == std::string_view::npos) return std::string(text);
  return std::string(text.substr(0, at));
}

bool startsWithNoCase(std::string_view text, std::string_view keyword) {
  return keyword.size() <= text.size() && equalNoCaseFrom(text, 0, keyword);
}

bool endsWithNoCase(std::string_view text, std::string_view ending) {
  return ending.size() <= text.size() &&
         equalNoCaseFrom(text, text.size() - ending.size(), ending);
}

bool equalNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && equalNoCaseFrom(a, 0, b);
}

std::string singleLine(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  for (char c : text) {
    if (c != '\r' && c != '\n' && c != '\x1a') line += c;
  }
  return line;
}

bool hasControlCharacter(std::string_view text) {
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127) return true;
  }
  return false;
}

List splitWords(std::string_view text, std::string_view separators) {
  List words;
  std::size_t at = 0;
  while (at < text.size()) {
    at = text.find_first_not_of(separators, at);
    if (at == std::string_view::npos) break;
    std::size_t end = text.find_first_of(separators, at);
    if (end == std::string_view::npos) end = text.size();
    words.emplace_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

List makeList(const char* const* texts, int count) {
  List list;
  appendAll(list, texts, count);
  return list;
}

List singleList(std::string_view text) { return List{std::string(text)}; }

void appendAll(List& list, const char* const* texts, int count) {
  for (int i = 0; i < count; ++i) list.emplace_back(texts[i]);
}

List concat(const List& a, const List& b) {
  List result = a;
  result.insert(result.end(), b.begin(), b.end());
  return result;
}

// Removing, for each text of b, the first equal text still in a is the same
// as removing from a the first k occurrences of every text that b holds k
// times. Counting b once keeps this linear instead of quadratic.
List minus(const List& a, const List& b) {
  std::unordered_map<std::string_view, std::size_t> toRemove;
  for (const std::string& text : b) ++toRemove[text];
  List result;
  result.reserve(a.size());
  for (const std::string& text : a) {
    auto it = toRemove.find(text);
    if (it != toRemove.end() && it->second > 0) {
      --it->second;
      continue;
    }
    result.push_back(text);
  }
  return result;
}

std::size_t longestLength(const List& list) {
  std::size_t longest = 0;
  for (const std::string& text : list) longest = std::max(longest, text.size());
  return longest;
}

std::string elementAt(const List& list, std::size_t position) {
  return position < list.size() ? list[position] : std::string();
}

void removeAt(List& list, std::size_t position) {
  if (position < list.size()) list.erase(list.begin() + static_cast<std::ptrdiff_t>(position));
}

int indexOfText(const List& list, std::string_view text) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] == text) return static_cast<int>(i);
  }
  return -1;
}

int findIf(const List& list, const std::function<bool(const std::string&)>& test, int start,
           std::string& out) {
  if (start < 0) start = 0;
  for (std::size_t i = static_cast<std::size_t>(start); i < list.size(); ++i) {
    if (test(list[i])) {
      out = list[i];
      return static_cast<int>(i);
    }
  }
  return -1;
}

List selectByPrefix(const List& list, std::string_view keyword) {
  List result;
  for (const std::string& line : list) {
    std::string trimmed = trimLeft(line);
    if (startsWithNoCase(trimmed, keyword)) result.push_back(std::move(trimmed));
  }
  return result;
}

std::string findByPrefix(const List& list, std::string_view keyword, bool strip) {
  for (const std::string& line : list) {
    std::string trimmed = trimLeft(line);
    if (startsWithNoCase(trimmed, keyword)) {
      return strip ? trimmed.substr(keyword.size()) : trimmed;
    }
  }
  return std::string();
}

void stripPrefix(List& list, std::string_view keyword) {
  for (std::string& line : list) {
    std::string trimmed = trimLeft(line);
    if (!startsWithNoCase(trimmed, keyword)) continue;
    std::size_t rest = trimmed.find_first_not_of(kPrefixSeparators, keyword.size());
    // Only separators after the keyword: keep them, cut the keyword alone.
    if (rest == std::string::npos) rest = keyword.size();
    line = trimmed.substr(rest);
  }
}

void prefixLines(List& list, std::string_view prefix) {
  for (std::string& line : list) {
    if (!isBlankText(line)) line.insert(0, prefix);
  }
}

void trimRightAll(List& list) {
  for (std::string& line : list) line = trimRight(line);
}

// Comparing the upper-cased texts padded with spaces to a common length,
// without building the padded copies: past the end of the shorter text it
// compares as if it went on with spaces.
namespace {

int comparePaddedNoCase(const std::string& a, const std::string& b) {
  std::size_t longest = std::max(a.size(), b.size());
  for (std::size_t i = 0; i < longest; ++i) {
    unsigned char x = i < a.size() ? foldByte(a[i]) : ' ';
    unsigned char y = i < b.size() ? foldByte(b[i]) : ' ';
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

}  // namespace

List sortNoCase(const List& list, bool ascending) {
  List result = list;
  std::stable_sort(result.begin(), result.end(),
                   [ascending](const std::string& a, const std::string& b) {
                     int order = comparePaddedNoCase(a, b);
                     return ascending ? order < 0 : order > 0;
                   });
  trimRightAll(result);
  return result;
}

void writeLines(std::ostream& out, const List& list) {
  for (const std::string& text : list) {
    std::size_t start = 0;
    for (std::size_t lf = text.find('\n'); lf != std::string::npos;
         lf = text.find('\n', start)) {
      out.write(text.data() + start, static_cast<std::streamsize>(lf - start));
      out.write("\r\n", 2);
      start = lf + 1;
    }
    out.write(text.data() + start, static_cast<std::streamsize>(text.size() - start));
    out.write("\r\n", 2);
    out.flush();
  }
}

void toTextModeBytes(std::string& bytes) {
  const std::size_t end = bytes.find('\x1a');
  if (end != std::string::npos) bytes.resize(end);
  bytes.erase(std::remove(bytes.begin(), bytes.end(), '\r'), bytes.end());
}

List splitTextLines(std::string_view bytes) {
  std::string text(bytes);
  toTextModeBytes(text);
  List lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace corvane
