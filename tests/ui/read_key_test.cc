#include "ui/read_key.h"

#include <gtest/gtest.h>

#include "support/memory_console.h"

namespace corvane {
namespace {

TEST(ReadKeyTest, CharactersAndKeysWithoutACharacterGetTheirCodes) {
  MemoryConsole console;
  console.pushKeys("a\r\x1b\b");
  for (int code : {kKeyUp, kKeyDown, kKeyLeft, kKeyRight, kKeyHome, kKeyEnd, kKeyDelete, kKeyF11})
    console.pushKey(code);
  console.pushKeys("\xE9");
  EXPECT_EQ(readKey(console), 'a');
  EXPECT_EQ(readKey(console), kKeyEnter);
  EXPECT_EQ(readKey(console), kKeyEsc);
  EXPECT_EQ(readKey(console), kKeyBackspace);
  EXPECT_EQ(readKey(console), -72);
  EXPECT_EQ(readKey(console), -80);
  EXPECT_EQ(readKey(console), -75);
  EXPECT_EQ(readKey(console), -77);
  EXPECT_EQ(readKey(console), -71);
  EXPECT_EQ(readKey(console), -79);
  EXPECT_EQ(readKey(console), -83);
  EXPECT_EQ(readKey(console), -133);
  // A character of the upper half of the code page is no scan code: not
  // 0xAD as Delete (-83), nor any other.
  EXPECT_EQ(readKey(console), kKeyNonAscii);
  EXPECT_FALSE(console.ranDry());
}

TEST(ReadKeyTest, NonAsciiCharactersComeWholeAndAltChordsAreSkipped) {
  MemoryConsole console;
  console.pushKey(kKeyAltChord);
  console.pushKey(kKeyNonAscii);
  console.pushKeys("\xAD");
  console.pushKey(kKeyAltChord);
  console.pushKey(kKeyAltChord);
  console.pushKeys("n");
  EXPECT_EQ(readKey(console), kKeyNonAscii);
  EXPECT_EQ(readKey(console), kKeyNonAscii);
  EXPECT_EQ(readKey(console), 'n');
  EXPECT_FALSE(console.ranDry());
}

// Keys come one after the other, none dropped however they bunch up; a
// paste is no keys to a screen (the line editor asks for its keys).
TEST(ReadKeyTest, EveryKeyCountsButAPasteIsIgnored) {
  MemoryConsole console;
  console.pushKeys("ab");
  console.pushPaste("xyz");
  console.pushKey(kKeyLeft);
  console.pushPaste("q");
  console.pushKeys("c");
  EXPECT_EQ(readKey(console), 'a');
  EXPECT_EQ(readKey(console), 'b');
  EXPECT_EQ(readKey(console), kKeyLeft);
  EXPECT_EQ(readKey(console), 'c');
  EXPECT_FALSE(console.ranDry());
}

// The screens read their keys through their windows; a window that lies over
// the whole screen and names no clicks reads the keys alone.
TextWindow keysOnly(Console& console) { return TextWindow(console, 1, 1, 80, 25, kWhite, kBlue); }

TEST(ReadKeyFromTest, DropsKeysOutsideTheAllowedOnesAndComparesUpperCased) {
  MemoryConsole console;
  const TextWindow window = keysOnly(console);
  console.pushKeys("xz1q");
  console.pushKey(kKeyF1);
  console.pushKey(kKeyHome);
  console.pushKeys("A");
  console.pushKey(kKeyUp);
  console.pushKeys("?\r");
  console.pushKey(kKeyRight);
  console.pushKeys("\x1b");
  EXPECT_EQ(readKeyFrom(window, "Qa"), 'q');  // returned as typed, not upper-cased
  EXPECT_EQ(readKeyFrom(window, "Qa"), 'A');
  EXPECT_EQ(readKeyFrom(window, "Qa"), kKeyUp);
  EXPECT_EQ(readKeyFrom(window, "Qa"), kKeyEnter);
  EXPECT_EQ(readKeyFrom(window, ""), kKeyRight);
  EXPECT_EQ(readKeyFrom(window, ""), kKeyEsc);
  EXPECT_FALSE(console.ranDry());
}

TEST(ReadKeyFromTest, TakesTheExtraKeysAScreenNames) {
  MemoryConsole console;
  const TextWindow window = keysOnly(console);
  for (int key : {kKeyPageUp, kKeyPageDown, kKeyHome, kKeyPageUp}) console.pushKey(key);
  EXPECT_EQ(readKeyFrom(window, "", {kKeyPageDown, kKeyHome}), kKeyPageDown);
  EXPECT_EQ(readKeyFrom(window, "", {kKeyPageDown, kKeyHome}), kKeyHome);
  EXPECT_EQ(readKeyFrom(window, ""), kKeyEsc);  // without them, PgUp is dropped
}

}  // namespace
}  // namespace corvane
