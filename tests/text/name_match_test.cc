#include "text/name_match.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

struct MatchCase {
  const char* name;
  const char* pattern;
  bool matches;
};

TEST(NameMatch, WildcardsCaseAndSubstrings) {
  const MatchCase cases[] = {
      // Without wildcards: anywhere in the name, whatever the case.
      {"old_pay.c", "pay", true},
      {"old_pay.c", "PAY", true},
      {"old_pay.c", "payroll", false},
      {"pay.c", "pay.cpp", false},
      {"a.c", "", true},
      {"", "a", false},
      // "*": any run, also none; the pattern covers the whole name.
      {"pay_2024.c", "pay_*", true},
      {"PAY_2024.C", "pay_*", true},
      {"old_pay_x.c", "pay_*", false},
      {"pay_x.cpp", "pay_*.c", false},
      {"main.cpp", "*.cpp", true},
      {"main.cpp", "*.c", false},
      {"", "*", true},
      {"a.c", "**.c", true},
      {"abcabd.c", "*abd*", true},
      {"ababab.c", "*ab*ab*ab*", true},
      {"ababa.c", "*ab*ab*ab*", false},
      // "?": exactly one character, any.
      {"a.c", "?.c", true},
      {"ab.c", "?.c", false},
      {".c", "?.c", false},
      {"s07.cpp", "s??.cpp", true},
      {"s7.cpp", "s??.cpp", false},
      // Characters that mean nothing special here are themselves.
      {"a[1].c", "a[1]", true},
      {"a1.c", "a[1]", false},
  };
  for (const MatchCase& c : cases)
    EXPECT_EQ(matchesName(c.name, c.pattern), c.matches)
        << '"' << c.name << "\" against \"" << c.pattern << '"';
}

// A pattern of many stars against a long name that almost matches must not
// take exponential time; this returns at once with the simple loop.
TEST(NameMatch, ManyStarsAgainstALongNameFail) {
  const std::string name(2000, 'a');
  EXPECT_FALSE(matchesName(name, "*a*a*a*a*a*a*a*a*a*a*a*b"));
  EXPECT_TRUE(matchesName(name + "b", "*a*a*a*a*a*a*a*a*a*a*a*b"));
}

}  // namespace
}  // namespace corvane
