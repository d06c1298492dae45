#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "platform/native_file_system.h"
#include "support/scratch_directory.h"

namespace corvane {
namespace {

constexpr std::int64_t kSecond = 1000000000;  // ticks of a clock that counts nanoseconds

// A listing is trusted to change with its directory's time only when that
// time lay further back than the file system's clock can tell apart: two
// seconds for a time in whole seconds, a tenth of one for a finer time.
TEST(DirectoryStamp, SettledOnceTheLastChangeLiesFarEnoughBack) {
  constexpr std::int64_t kFine = 1000 * kSecond + 7;
  constexpr std::int64_t kWhole = 1000 * kSecond;
  const struct {
    const char* what;
    std::int64_t modified;
    std::int64_t age;  // when the stamp was taken, after the change
    bool marksChanges;
    bool settled;
  } cases[] = {
      {"a fine time, a tenth of a second back", kFine, kSecond / 10, true, true},
      {"a fine time, just less", kFine, kSecond / 10 - 1, true, false},
      {"whole seconds, two back", kWhole, 2 * kSecond, true, true},
      {"whole seconds, one and a half back", kWhole, 3 * kSecond / 2, true, false},
      {"a time ahead of the clock", kFine, -kSecond, true, false},
      {"a file system that does not mark changes", kFine, 1000 * kSecond, false, false},
  };
  for (const auto& [what, modified, age, marksChanges, settled] : cases) {
    const DirectoryStamp stamp{0, 0, modified, modified + age, kSecond, marksChanges};
    EXPECT_EQ(stamp.settled(), settled) << what;
  }
}

// The names are kept while the directory keeps its time, when that time lay
// far enough back as they were read: a file added behind a time put back is
// then not seen, which is how the kept names show.
TEST(NativeFileSystem, ListingIsKeptWhileTheDirectoryKeepsASettledTime) {
  const std::int64_t now = std::time(nullptr);
  const struct {
    const char* what;
    std::int64_t seconds;
    long nanoseconds;
    bool putBack;
    bool seen;
  } cases[] = {
      {"an hour old, put back", now - 3600, 500000000, true, false},
      {"an hour old, changed by the new file", now - 3600, 500000000, false, true},
      {"whole seconds, this second, put back", now, 0, true, true},
      {"an hour ahead, put back", now + 3600, 500000000, true, true},
  };
  for (const auto& [what, seconds, nanoseconds, putBack, seen] : cases) {
    ScratchDirectory scratch;
    scratch.write("a.c", "");
    scratch.setModified(seconds, nanoseconds);
    NativeFileSystem fs;
    ASSERT_EQ(fs.listMatching("c"), std::vector<std::string>{"a.c"}) << what;
    const std::uint64_t version = fs.listingVersion();
    scratch.write("b.c", "");
    if (putBack) scratch.setModified(seconds, nanoseconds);
    // What was worked out from the names may be kept just as long.
    EXPECT_EQ(version != 0 && fs.listingVersion() == version, !seen) << what;
    EXPECT_EQ(fs.listMatching("c").size(), seen ? 2u : 1u) << what;
  }
}

// Another directory with the same time is listed afresh.
TEST(NativeFileSystem, ListingFollowsTheCurrentDirectory) {
  const std::int64_t anHourAgo = std::time(nullptr) - 3600;
  ScratchDirectory first;
  first.write("a.c", "");
  first.setModified(anHourAgo, 0);
  NativeFileSystem fs;
  ASSERT_EQ(fs.listMatching("c"), std::vector<std::string>{"a.c"});
  ScratchDirectory second;
  second.write("b.c", "");
  second.setModified(anHourAgo, 0);
  EXPECT_EQ(fs.listMatching("c"), std::vector<std::string>{"b.c"});
}

}  // namespace
}  // namespace corvane
