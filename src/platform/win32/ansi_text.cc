#include "platform/win32/ansi_text.h"

#include "platform/win32/windows_api.h"

namespace corvane {

namespace {

constexpr UINT kCellCodePage = 437;

// The cell of one character of the code page: its byte in code page 437,
// without the look-alikes Windows would otherwise pick ("a" for "ā"), or
// "?" when the code page has no such character or 437 lacks it.
char cellOf(std::string_view character, UINT codePage) {
  wchar_t wide[2];
  const int count = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, character.data(),
                                        static_cast<int>(character.size()), wide, 2);
  if (count != 1) return '?';
  char cell = '?';
  BOOL usedDefault = FALSE;
  if (WideCharToMultiByte(kCellCodePage, WC_NO_BEST_FIT_CHARS, wide, 1, &cell, 1, nullptr,
                          &usedDefault) != 1 ||
      usedDefault || static_cast<unsigned char>(cell) < 0x80)
    return '?';
  return cell;
}

}  // namespace

std::vector<DisplayCharacter> ansiDisplayCharacters(std::string_view text, unsigned codePage) {
  // Windows set to use UTF-8 as its ANSI code page.
  if (codePage == CP_UTF8) return utf8DisplayCharacters(text);
  std::vector<DisplayCharacter> characters;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
      characters.push_back({1, isControlByte(text[i]) ? '?' : text[i]});
      ++i;
      continue;
    }
    // The code pages of East Asia take two bytes for most characters.
    const std::size_t length =
        IsDBCSLeadByteEx(codePage, byte) && i + 1 < text.size() ? 2 : 1;
    characters.push_back({length, cellOf(text.substr(i, length), codePage)});
    i += length;
  }
  return characters;
}

std::vector<DisplayCharacter> displayCharacters(std::string_view text) {
  return ansiDisplayCharacters(text, GetACP());
}

// The console shows the bytes of a single-byte code page as characters,
// upper half included; only the control characters could steer it.
std::string printableText(std::string_view text) {
  if (GetACP() == CP_UTF8) return printableUtf8(text);
  std::string printable(text);
  for (char& byte : printable)
    if (isControlByte(byte)) byte = '?';
  return printable;
}

}  // namespace corvane
