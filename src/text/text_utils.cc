#include "text/text_utils.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <unordered_map>

namespace corvane {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Where the text ends without its trailing blanks.
std::size_t endWithoutBlanks(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && isBlank(text[end - 1])) --end;
  return end;
}

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
  return std::string(text.substr(0, endWithoutBlanks(text)));
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

bool startsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
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
  return std::any_of(text.begin(), text.end(), isControlByte);
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

// In place: a list of a directory's names is trimmed without a copy of each.
void trimRightAll(List& list) {
  for (std::string& line : list) line.resize(endWithoutBlanks(line));
}

namespace {

// Comparing the upper-cased texts padded with spaces to a common length,
// without building the padded copies: past the end of the shorter text it
// compares as if it went on with spaces. The first `from` bytes are known to
// be equal. Equal bytes are passed over without folding: the names of one
// directory share long beginnings, and sorting and comparing 20,000 of them
// is done while the user waits for a screen.
int comparePaddedNoCase(const std::string& a, const std::string& b, std::size_t from = 0) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = from; i < common; ++i) {
    if (a[i] == b[i]) continue;
    const unsigned char x = foldByte(a[i]);
    const unsigned char y = foldByte(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  const bool aLonger = a.size() > b.size();
  const std::string& longer = aLonger ? a : b;
  for (std::size_t i = std::max(common, from); i < longer.size(); ++i) {
    const unsigned char c = foldByte(longer[i]);
    if (c != ' ') return (c > ' ') == aLonger ? 1 : -1;
  }
  return 0;
}

// The first eight bytes of a text as comparePaddedNoCase sees them, in one
// number that orders as they do: upper-cased, padded with spaces, the first
// byte the most significant.
constexpr std::size_t kHeadBytes = 8;

std::uint64_t paddedHead(const std::string& text) {
  std::uint64_t head = 0;
  for (std::size_t i = 0; i < kHeadBytes; ++i)
    head = (head << 8) | (i < text.size() ? foldByte(text[i]) : ' ');
  return head;
}

bool sortedNoCase(const List& list) {
  return std::is_sorted(list.begin(), list.end(), [](const std::string& a, const std::string& b) {
    return comparePaddedNoCase(a, b) < 0;
  });
}

// Appends the texts of a's range but the first k occurrences of every text
// that b's range holds k times. Counting b once keeps this linear instead
// of quadratic; a range of no text or one, the usual cases, needs no counting.
void appendDifference(const std::string* a, const std::string* aEnd, const std::string* b,
                      const std::string* bEnd, List& result) {
  if (b == bEnd) {
    result.insert(result.end(), a, aEnd);
    return;
  }
  if (bEnd - b == 1) {
    bool removed = false;
    for (; a != aEnd; ++a) {
      if (!removed && *a == *b) {
        removed = true;
        continue;
      }
      result.push_back(*a);
    }
    return;
  }
  std::unordered_map<std::string_view, std::size_t> toRemove;
  for (; b != bEnd; ++b) ++toRemove[*b];
  for (; a != aEnd; ++a) {
    auto it = toRemove.find(*a);
    if (it != toRemove.end() && it->second > 0) {
      --it->second;
      continue;
    }
    result.push_back(*a);
  }
}

}  // namespace

List minus(const List& a, const List& b) {
  List result;
  result.reserve(a.size());
  if (!sortedNoCase(a) || !sortedNoCase(b)) {
    appendDifference(a.data(), a.data() + a.size(), b.data(), b.data() + b.size(), result);
    return result;
  }
  // Both sorted, as a directory's listing and the project's sources on the
  // sources screen usually are: only texts that compare equal without
  // regard to case can be equal, and those stand together in both lists,
  // so the lists are walked side by side and each such run compared alone.
  std::size_t j = 0;
  for (std::size_t i = 0; i < a.size();) {
    while (j < b.size() && comparePaddedNoCase(b[j], a[i]) < 0) ++j;
    std::size_t iEnd = i + 1;
    while (iEnd < a.size() && comparePaddedNoCase(a[iEnd], a[i]) == 0) ++iEnd;
    std::size_t jEnd = j;
    while (jEnd < b.size() && comparePaddedNoCase(b[jEnd], a[i]) == 0) ++jEnd;
    appendDifference(a.data() + i, a.data() + iEnd, b.data() + j, b.data() + jEnd, result);
    i = iEnd;
    j = jEnd;
  }
  return result;
}

// A directory of 20,000 names is sorted while the user waits for a screen,
// so most comparisons are settled by the numbers of the first eight bytes,
// and positions are sorted rather than the texts. The position breaks ties,
// which keeps equal texts in their order as a stable sort does.
List sortNoCase(const List& list, bool ascending) {
  struct Keyed {
    std::uint64_t head;
    std::size_t position;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) keyed.push_back({paddedHead(list[i]), i});
  std::sort(keyed.begin(), keyed.end(), [&list, ascending](const Keyed& a, const Keyed& b) {
    int order = a.head == b.head ? 0 : (a.head < b.head ? -1 : 1);
    if (order == 0) order = comparePaddedNoCase(list[a.position], list[b.position], kHeadBytes);
    if (order == 0) return a.position < b.position;
    return ascending ? order < 0 : order > 0;
  });
  List result;
  result.reserve(list.size());
  for (const Keyed& entry : keyed) result.push_back(list[entry.position]);
  trimRightAll(result);
  return result;
}

// In a sorted list a stable sort would put the new text after every text
// that compares equal to it and leave the others where they are, so it goes
// in there; only a list that is not sorted yet is sorted whole.
void insertNoCase(List& list, std::string text) {
  if (!sortedNoCase(list)) {
    list.push_back(std::move(text));
    list = sortNoCase(list, true);
    return;
  }
  const auto at = std::upper_bound(list.begin(), list.end(), text,
                                   [](const std::string& a, const std::string& b) {
                                     return comparePaddedNoCase(a, b) < 0;
                                   });
  list.insert(at, std::move(text));
  trimRightAll(list);
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
