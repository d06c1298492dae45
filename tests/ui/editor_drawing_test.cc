#include "ui/editor_drawing.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

// The one rule of every value cut at the edge of its place: ".." takes the
// last two cells, and a place narrower than that shows only dots.
TEST(CutWithDotsTest, ALongTextEndsInDotsWithinItsRoom) {
  const struct {
    const char* text;
    std::size_t room;
    const char* shown;
  } cases[] = {
      {"abcdef", 6, "abcdef"}, {"abcdefg", 6, "abcd.."}, {"abc", 2, ".."},
      {"abc", 1, "."},         {"abc", 0, ""},           {"", 0, ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fitWithDots(c.text, c.room), c.shown) << c.text << " in " << c.room;
}

}  // namespace
}  // namespace corvane
