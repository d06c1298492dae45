// Text and list helpers shared by the project file, the option table, the
// makefile writer and the screens.
//
// A text is a byte string (no encoding is assumed); a list is an ordered
// sequence of texts. Blanks are the space and the tab only. Case folding is
// ASCII only: a-z become A-Z, every other byte is left alone. Positions that
// are not found are reported as -1. Unless a function says "in place", it
// leaves its arguments alone and returns a new value.
#ifndef CORVANE_TEXT_TEXT_UTILS_H
#define CORVANE_TEXT_TEXT_UTILS_H

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

using List = std::vector<std::string>;
// A block of lines, each without its line end. Only a name for a list.
using Paragraph = List;

// The bytes skipped after a keyword that has been matched at a line's start.
inline constexpr std::string_view kPrefixSeparators = " \t:=";

// One character (or key code) folded to the other case: only a-z and A-Z
// change, whatever the locale, so that names and keys compare alike on every
// system and in every code page.
constexpr int upperCaseAscii(int c) { return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c; }
constexpr int lowerCaseAscii(int c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; }
// A character that shows as itself: the space to the tilde. A byte above 127
// (negative as a char) is none.
constexpr bool isPrintableAscii(int c) { return c >= ' ' && c <= '~'; }
// A character that steers a terminal or a console instead of showing: the
// C0 controls, DEL and the C1 controls. Written out it would move the cursor,
// ring the bell or start an escape sequence, so names show it as "?".
constexpr bool isControlCharacter(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }
// A byte that is such a character in every encoding a name may come in: the
// C0 controls and DEL. The bytes 128 to 159 are not: in UTF-8 and in the
// code pages they are parts or letters of other characters.
constexpr bool isControlByte(char byte) {
  const auto value = static_cast<unsigned char>(byte);
  return value < 0x80 && isControlCharacter(value);
}

// Text functions.
std::string trim(std::string_view text);
// Whether the text holds nothing but blanks (or nothing at all): a source
// entry of the project so written names no file.
bool isBlankText(std::string_view text);
std::string trimLeft(std::string_view text);
std::string trimRight(std::string_view text);
std::string padRight(std::string_view text, std::size_t width, char fill = ' ');
std::string upperCase(std::string_view text);
std::string beforeLast(std::string_view text, std::string_view separator);
// Whether the text begins with the other, byte for byte.
bool startsWith(std::string_view text, std::string_view start);
bool startsWithNoCase(std::string_view text, std::string_view keyword);
bool endsWithNoCase(std::string_view text, std::string_view ending);
// Whether the texts are the same without regard to case, the way Windows
// matches file names.
bool equalNoCase(std::string_view a, std::string_view b);
List splitWords(std::string_view text, std::string_view separators);
// The text without the bytes that would split a line of a written text file
// or end the file for its reader: CR, LF and Ctrl-Z.
std::string singleLine(std::string_view text);
// Whether the text holds a control byte (see isControlByte).
bool hasControlCharacter(std::string_view text);

// List functions.
List makeList(const char* const* texts, int count);
List singleList(std::string_view text);
void appendAll(List& list, const char* const* texts, int count);
List concat(const List& a, const List& b);
List minus(const List& a, const List& b);
std::size_t longestLength(const List& list);
std::string elementAt(const List& list, std::size_t position);
void removeAt(List& list, std::size_t position);
int indexOfText(const List& list, std::string_view text);
int findIf(const List& list, const std::function<bool(const std::string&)>& test,
           int start, std::string& out);
List selectByPrefix(const List& list, std::string_view keyword);
std::string findByPrefix(const List& list, std::string_view keyword, bool strip);
void stripPrefix(List& list, std::string_view keyword);
void prefixLines(List& list, std::string_view prefix);
void trimRightAll(List& list);
List sortNoCase(const List& list, bool ascending);
// Adds the text where sortNoCase(list + text, true) would put it, and leaves
// the list exactly as that would.
void insertNoCase(List& list, std::string text);

// Writes each text followed by CR LF, the line end of every file Corvane
// writes on every platform. A line feed inside a text also becomes CR LF.
void writeLines(std::ostream& out, const List& list);

// Turns a text file's bytes, in place, into what a text-mode reader sees:
// a byte 26 (Ctrl-Z) ends the file, and every CR is dropped.
void toTextModeBytes(std::string& bytes);

// Reads a whole text file's bytes as lines the way a text-mode reader does:
// the bytes that toTextModeBytes keeps, where LF ends a line and a last line
// without a line end still counts.
List splitTextLines(std::string_view bytes);

}  // namespace corvane

#endif  // CORVANE_TEXT_TEXT_UTILS_H
