#include "options/make_option.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using Fields = std::vector<std::string>;

// Every field of an option: name, status, the four flag texts, whether it
// takes part in groups and is saved, and its description.
Fields fieldsOf(const MakeOption& option) {
  return {option.name,       std::to_string(option.status),
          option.compileOn,  option.compileOff,
          option.linkOn,     option.linkOff,
          option.clusive ? "clusive" : "not clusive",
          option.saved ? "saved" : "not saved",
          option.description};
}

TEST(MakeOption, BuiltFromDefinitionWords) {
  const MakeOption debug("Debug ON 1 1 -v -v- YES YES", "-d", "-v -k", "-v- -k-");
  EXPECT_EQ(fieldsOf(debug),
            (Fields{"Debug", "1", "-v -k", "-v- -k-", "-v", "-v-", "clusive", "saved", "-d"}));

  // "1" without a long text stays "1"; only exact "ON" and "NO" count.
  const MakeOption odd("  X   on 1 0 1 -q no NO ", "", nullptr, nullptr);
  EXPECT_EQ(fieldsOf(odd), (Fields{"X", "0", "1", "", "1", "-q", "clusive", "not saved", ""}));
}

TEST(MakeOption, ActiveFlagsAndFlip) {
  MakeOption option("Pentium OFF 0 -4 -OS 0 NO YES", "", nullptr, nullptr);
  EXPECT_EQ("-4", option.activeCompileFlags());
  EXPECT_EQ("", option.activeLinkFlags());
  option.flip();
  EXPECT_EQ("", option.activeCompileFlags());
  EXPECT_EQ("-OS", option.activeLinkFlags());
  option.flip();
  EXPECT_EQ("-4", option.activeCompileFlags());
  EXPECT_EQ("", option.activeLinkFlags());
}

}  // namespace
}  // namespace corvane
