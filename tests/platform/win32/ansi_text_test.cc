#include "platform/win32/ansi_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/windows_api.h"

namespace corvane {
namespace {

std::string cellsOf(std::string_view text, unsigned codePage, std::size_t& characters) {
  std::string cells;
  const auto shown = ansiDisplayCharacters(text, codePage);
  for (const DisplayCharacter& character : shown) cells += character.cell;
  characters = shown.size();
  return cells;
}

TEST(AnsiText, AnsiNamesShowInTheConsolesCodePage) {
  std::size_t count = 0;
  // Windows-1252: é and ñ are in code page 437 at other bytes; the euro
  // sign is not in it.
  EXPECT_EQ(cellsOf("caf\xe9 \xf1\x80", 1252, count), "caf\x82 \xa4?");
  EXPECT_EQ(count, 7u);
  // Control characters show as "?", never as what they would do.
  EXPECT_EQ(cellsOf("a\tb\a\x7f", 1252, count), "a?b??");
  // Shift-JIS: a character of two bytes is one cell; a lead byte at the end
  // forms none.
  EXPECT_EQ(cellsOf("a\x82\xa0" "b\x82", 932, count), "a?b?");
  EXPECT_EQ(count, 4u);
  // Windows set to UTF-8 as its ANSI code page.
  EXPECT_EQ(cellsOf("caf\xc3\xa9", CP_UTF8, count), "caf\x82");
  EXPECT_EQ(count, 4u);
}

TEST(AnsiText, DisplayTextUsesTheAnsiCodePage) {
  // "é" as this system's ANSI code page writes it, if it has it at all.
  const wchar_t eAcute = 0xE9;
  char ansi[4] = {};
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, 0, &eAcute, 1, ansi, sizeof ansi, nullptr,
                                         GetACP() == CP_UTF8 ? nullptr : &usedDefault);
  ASSERT_GT(length, 0);
  if (usedDefault) GTEST_SKIP() << "the ANSI code page has no e acute";
  EXPECT_EQ(displayText("n" + std::string(ansi, static_cast<std::size_t>(length)) + "e"),
            "n\x82" "e");
}

}  // namespace
}  // namespace corvane
