#include "text/text_utils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace corvane {
namespace {

TEST(TextFunctions, TrimRemovesBlanksOnly) {
  EXPECT_EQ("x", trim("  \tx"));
  EXPECT_EQ("", trim(" \t  "));
  EXPECT_EQ("a b", trim("\t a b \t"));
  EXPECT_EQ("\rx\n", trim(" \rx\n "));
  EXPECT_EQ("x \t", trimLeft(" \tx \t"));
  EXPECT_EQ("", trimLeft("\t\t"));
  EXPECT_EQ(" \tx", trimRight(" \tx \t"));
  EXPECT_EQ("", trimRight("  "));
}

TEST(TextFunctions, PaddingAndCaseFolding) {
  EXPECT_EQ("ab...", padRight("ab", 5, '.'));
  EXPECT_EQ("ab  ", padRight("ab", 4));
  EXPECT_EQ("ab", padRight("ab", 2));
  EXPECT_EQ("ABC-\xe9Z{", upperCase("aBc-\xe9z{"));
}

TEST(TextFunctions, BeforeLast) {
  EXPECT_EQ("main.test", beforeLast("main.test.cpp", "."));
  EXPECT_EQ("Makefile", beforeLast("Makefile", "."));
  EXPECT_EQ("a", beforeLast("a::b", "::"));
}

TEST(TextFunctions, StartsWithNoCase) {
  EXPECT_TRUE(startsWithNoCase("OPTION x", "option "));
  EXPECT_FALSE(startsWithNoCase("option\tx", "option "));
  EXPECT_FALSE(startsWithNoCase("opt", "option"));
  EXPECT_TRUE(startsWithNoCase("anything", ""));
}

// Only ASCII letters fold: "\xe9" and "\xc9" (e and E acute in Latin-1) stay
// apart, as do the bytes just past the letters and key codes below zero.
TEST(TextFunctions, NoCaseComparisonsFoldAsciiLettersOnly) {
  EXPECT_TRUE(equalNoCase("Bcc32.EXE", "BCC32.exe"));
  EXPECT_FALSE(equalNoCase("\xe9.c", "\xc9.c"));
  EXPECT_FALSE(equalNoCase("a", "ab"));
  EXPECT_TRUE(endsWithNoCase("main.CPP", ".cpp"));
  EXPECT_FALSE(endsWithNoCase("cpp", ".cpp"));
  EXPECT_FALSE(endsWithNoCase("x.[pp", ".{pp"));
  EXPECT_EQ('Z', upperCaseAscii('z'));
  EXPECT_EQ('`', upperCaseAscii('`'));
  EXPECT_EQ('a', lowerCaseAscii('A'));
  EXPECT_EQ('[', lowerCaseAscii('['));
  EXPECT_EQ(-72, upperCaseAscii(-72));
}

TEST(TextFunctions, SplitWordsOnRunsOfSeparators) {
  EXPECT_EQ((List{"a", "b\tc", "d"}), splitWords("  a   b\tc d  ", " "));
  EXPECT_EQ(List{}, splitWords("   ", " "));
  EXPECT_EQ((List{"x", "y"}), splitWords(":x=:y", ":="));
}

TEST(ListFunctions, BuildingLists) {
  const char* const texts[] = {"a", "b", "c"};
  EXPECT_EQ((List{"a", "b", "c"}), makeList(texts, 3));
  EXPECT_EQ(List{"z"}, singleList("z"));
  List list{"x"};
  appendAll(list, texts, 2);
  EXPECT_EQ((List{"x", "a", "b"}), list);
  EXPECT_EQ((List{"1", "2", "3"}), concat(List{"1"}, List{"2", "3"}));
}

TEST(ListFunctions, MinusRemovesFirstOccurrences) {
  EXPECT_EQ(List{"x"}, minus(List{"x", "x"}, List{"x"}));
  EXPECT_EQ((List{"a", "B", "b"}), minus(List{"b", "a", "B", "b"}, List{"b", "c"}));
  EXPECT_EQ(List{}, minus(List{"a", "a"}, List{"a", "a", "a"}));
}

TEST(ListFunctions, PositionsAndLookups) {
  List list{"a", "b", "a"};
  EXPECT_EQ(3u, longestLength(List{"ab", "abc", ""}));
  EXPECT_EQ(0u, longestLength(List{}));
  EXPECT_EQ("b", elementAt(list, 1));
  EXPECT_EQ("", elementAt(List{}, 0));
  EXPECT_EQ(0, indexOfText(list, "a"));
  EXPECT_EQ(-1, indexOfText(list, "A"));
  removeAt(list, 7);
  EXPECT_EQ(3u, list.size());
  removeAt(list, 0);
  EXPECT_EQ((List{"b", "a"}), list);
}

TEST(ListFunctions, FindIfFromStart) {
  List list{"ax", "b", "ay"};
  auto startsA = [](const std::string& s) { return !s.empty() && s[0] == 'a'; };
  std::string out = "untouched";
  EXPECT_EQ(2, findIf(list, startsA, 1, out));
  EXPECT_EQ("ay", out);
  out = "untouched";
  EXPECT_EQ(-1, findIf(list, startsA, 3, out));
  EXPECT_EQ("untouched", out);
}

TEST(KeywordLines, SelectAndFind) {
  List lines{"  OPTION Debug ON", "optional x", "option\tx", "option := y", "x"};
  EXPECT_EQ((List{"OPTION Debug ON", "option := y"}), selectByPrefix(lines, "option "));
  EXPECT_EQ("OPTION Debug ON", findByPrefix(lines, "option ", false));
  EXPECT_EQ("Debug ON", findByPrefix(lines, "option ", true));
  EXPECT_EQ(":= y", findByPrefix(List{"option := y"}, "option ", true));
  EXPECT_EQ("", findByPrefix(lines, "target", true));
}

TEST(KeywordLines, StripPrefixSkipsSeparators) {
  List lines{"  Target := hello", "other  ", "target :=  ", " targets x"};
  stripPrefix(lines, "target");
  EXPECT_EQ((List{"hello", "other  ", " :=  ", "s x"}), lines);
}

TEST(KeywordLines, PrefixTrim) {
  List lines{"a", "", " \t", "b "};
  prefixLines(lines, "\t");
  EXPECT_EQ((List{"\ta", "", " \t", "\tb "}), lines);
  trimRightAll(lines);
  EXPECT_EQ((List{"\ta", "", "", "\tb"}), lines);
}

TEST(SortNoCase, StableAndTrimmed) {
  EXPECT_EQ((List{"A", "a", "b"}), sortNoCase(List{"b", "A", "a"}, true));
  EXPECT_EQ((List{"b", "A", "a"}), sortNoCase(List{"A", "b", "a"}, false));
  // Shorter texts compare as if followed by spaces; a tab sorts before that.
  EXPECT_EQ((List{"ab\tc", "ab", "ab!"}), sortNoCase(List{"ab!", "ab", "ab\tc"}, true));
  EXPECT_EQ((List{"x", "x", "y"}), sortNoCase(List{"x  ", "y", "x"}, true));
}

TEST(LineFiles, AppendLinesEndsEveryLineWithCrLfAndSaysHowMuchItAppends) {
  const List lines = {"a", "", "b\nc\n"};
  std::string text = "x";
  appendLines(text, lines);
  EXPECT_EQ("xa\r\n\r\nb\r\nc\r\n\r\n", text);
  EXPECT_EQ(appendedSize(lines), text.size() - 1);
}

TEST(LineFiles, SplitTextLinesAsTextMode) {
  EXPECT_EQ((List{"a", "b", "c"}), splitTextLines("a\r\nb\nc"));
  EXPECT_EQ((List{"ab", ""}), splitTextLines("a\rb\n\n"));
  EXPECT_EQ((List{"x"}), splitTextLines("x\n\x1ay\nz"));
  EXPECT_EQ(List{}, splitTextLines(""));
  EXPECT_EQ((List{std::string("a\0b", 3)}), splitTextLines(std::string("a\0b\n", 4)));
}

// The fast list algorithms checked against their plain definitions on random
// lists with duplicates, mixed case, tabs and trailing blanks.
List plainMinus(List a, const List& b) {
  for (const std::string& text : b) {
    auto it = std::find(a.begin(), a.end(), text);
    if (it != a.end()) a.erase(it);
  }
  return a;
}

List plainSortNoCase(const List& list, bool ascending) {
  std::size_t width = longestLength(list);
  std::vector<std::pair<std::string, std::size_t>> keyed;
  for (std::size_t i = 0; i < list.size(); ++i) {
    keyed.emplace_back(upperCase(padRight(list[i], width)), i);
  }
  // Insertion sort: obviously stable.
  for (std::size_t i = 1; i < keyed.size(); ++i) {
    for (std::size_t j = i; j > 0; --j) {
      bool before = ascending ? keyed[j].first < keyed[j - 1].first
                              : keyed[j].first > keyed[j - 1].first;
      if (!before) break;
      std::swap(keyed[j], keyed[j - 1]);
    }
  }
  List result;
  for (const auto& entry : keyed) result.push_back(trimRight(list[entry.second]));
  return result;
}

List randomList(std::mt19937& random, std::size_t count, std::size_t longest = 4) {
  static const char kBytes[] = {'a', 'A', 'b', 'B', ' ', '\t', '!', '~', '\x01', '\xe9'};
  std::uniform_int_distribution<std::size_t> length(0, longest);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kBytes - 1);
  List list;
  for (std::size_t i = 0; i < count; ++i) {
    std::string text;
    for (std::size_t n = length(random); n > 0; --n) text.push_back(kBytes[pick(random)]);
    list.push_back(text);
  }
  return list;
}

TEST(ListAlgorithms, MinusEqualsPlainDefinition) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 200; ++round) {
    List a = randomList(random, round % 40);
    List b = randomList(random, (round * 7) % 30);
    ASSERT_EQ(plainMinus(a, b), minus(a, b)) << "round " << round;
  }
}

TEST(ListAlgorithms, SortNoCaseEqualsPlainDefinition) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    List list = randomList(random, round % 50);
    ASSERT_EQ(plainSortNoCase(list, true), sortNoCase(list, true)) << "round " << round;
    ASSERT_EQ(plainSortNoCase(list, false), sortNoCase(list, false)) << "round " << round;
  }
}

// Texts longer than the eight bytes a sort compares at once, sorted lists
// (the ones minus walks side by side) and texts added to a sorted list.
TEST(ListAlgorithms, SortedListsAndLongTextsEqualPlainDefinitions) {
  std::mt19937 random(22);
  // Most texts start alike up to the eighth byte or beyond, as names do.
  const auto longList = [&random](std::size_t count) {
    List list = randomList(random, count, 6);
    for (std::size_t i = 0; i < list.size(); ++i)
      list[i].insert(0, i % 3 == 0 ? "" : i % 3 == 1 ? "source_a" : "SOURCE_");
    return list;
  };
  const auto sortedList = [&longList](std::size_t count) {
    List list = longList(count);
    trimRightAll(list);  // sorting trims, so a trimmed list stays sorted
    return plainSortNoCase(list, true);
  };
  for (int round = 0; round < 200; ++round) {
    const List list = longList(round % 40);
    ASSERT_EQ(plainSortNoCase(list, true), sortNoCase(list, true)) << "round " << round;
    const List a = sortedList(round % 40);
    const List b = sortedList((round * 7) % 30);
    ASSERT_EQ(plainMinus(a, b), minus(a, b)) << "round " << round;
    const std::string text = longList(2).back();
    for (List into : {a, list}) {
      const List expected = plainSortNoCase(concat(into, singleList(text)), true);
      insertNoCase(into, text);
      ASSERT_EQ(expected, into) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace corvane
