// The fast list algorithms checked against their plain definitions on random
// lists with duplicates, mixed case, tabs and trailing blanks.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "text/text_utils.h"

namespace corvane {
namespace {

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

List randomList(std::mt19937& random, std::size_t count) {
  static const char kBytes[] = {'a', 'A', 'b', 'B', ' ', '\t', '!', '~', '\x01', '\xe9'};
  std::uniform_int_distribution<std::size_t> length(0, 4);
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

}  // namespace
}  // namespace corvane
