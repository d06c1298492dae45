#include "options/make_option.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(MakeOption, BuiltFromDefinitionWords) {
  MakeOption debug("Debug ON 1 1 -v -v- YES YES", "-d", "-v -k", "-v- -k-");
  EXPECT_EQ("Debug", debug.name);
  EXPECT_EQ(1, debug.status);
  EXPECT_EQ("-v -k", debug.compileOn);
  EXPECT_EQ("-v- -k-", debug.compileOff);
  EXPECT_EQ("-v", debug.linkOn);
  EXPECT_EQ("-v-", debug.linkOff);
  EXPECT_TRUE(debug.clusive);
  EXPECT_TRUE(debug.saved);
  EXPECT_EQ("-d", debug.description);

  // "1" without a long text stays "1"; only exact "ON" and "NO" count.
  MakeOption odd("  X   on 1 0 1 -q no NO ", "", nullptr, nullptr);
  EXPECT_EQ("X", odd.name);
  EXPECT_EQ(0, odd.status);
  EXPECT_EQ("1", odd.compileOn);
  EXPECT_EQ("", odd.compileOff);
  EXPECT_EQ("1", odd.linkOn);
  EXPECT_EQ("-q", odd.linkOff);
  EXPECT_TRUE(odd.clusive);
  EXPECT_FALSE(odd.saved);
}

TEST(MakeOption, ActiveFlagsAndFlip) {
  MakeOption option("Pentium OFF 0 -4 -OS 0 NO YES", "", nullptr, nullptr);
  EXPECT_EQ("-4", option.activeCompileFlags());
  EXPECT_EQ("", option.activeLinkFlags());
  option.flip();
  EXPECT_EQ("", option.activeCompileFlags());
  EXPECT_EQ("-OS", option.activeLinkFlags());
  option.status = 7;
  option.flip();
  EXPECT_EQ(0, option.status);
}

}  // namespace
}  // namespace corvane
