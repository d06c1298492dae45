#include "platform/file_system_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace corvane {
namespace {

// Printable ASCII shows as it is; the bytes just outside it do not.
TEST(DisplayText, OnlyPrintableAsciiShowsAsItIs) {
  const std::pair<std::string, std::string> cases[] = {
      {"util.c", "util.c"}, {" ~x", " ~x"}, {"a\x7f", "a?"}, {"\x1f" "b", "?b"}, {"", ""}};
  for (const auto& [text, cells] : cases) EXPECT_EQ(displayText(text), cells) << text;
}

}  // namespace
}  // namespace corvane
