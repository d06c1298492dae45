#include <gtest/gtest.h>

#include <cstdint>

#include "platform/native_file_system.h"

namespace corvane {
namespace {

constexpr std::int64_t kSecond = 1000000000;  // ticks of a clock that counts nanoseconds

// A listing is trusted to change with its directory's time only when that
// time lay further back than the file system's clock can tell apart: two
// seconds for a time in whole seconds, a tenth of one for a finer time.
TEST(DirectoryStamp, SettledOnceTheLastChangeLiesFarEnoughBack) {
  const struct {
    const char* what;
    std::int64_t modified;
    std::int64_t taken;
    bool marksChanges;
    bool settled;
  } cases[] = {
      {"a fine time, a tenth of a second back", 1000 * kSecond + 7, 1000 * kSecond + 7 + kSecond / 10,
       true, true},
      {"a fine time, just less", 1000 * kSecond + 7, 1000 * kSecond + 6 + kSecond / 10, true,
       false},
      {"whole seconds, two back", 1000 * kSecond, 1002 * kSecond, true, true},
      {"whole seconds, one back", 1000 * kSecond, 1001 * kSecond + kSecond / 2, true, false},
      {"a time ahead of the clock", 1000 * kSecond + 7, 900 * kSecond, true, false},
      {"a file system that does not mark changes", 1000 * kSecond + 7, 2000 * kSecond, false,
       false},
  };
  for (const auto& [what, modified, taken, marksChanges, settled] : cases) {
    DirectoryStamp stamp;
    stamp.ticksPerSecond = kSecond;
    stamp.modified = modified;
    stamp.taken = taken;
    stamp.marksChanges = marksChanges;
    EXPECT_EQ(stamp.settled(), settled) << what;
  }
}

}  // namespace
}  // namespace corvane
