#include "console/scripted_console.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "console/key_codes.h"

namespace corvane {
namespace {

// The bytes a test feeds a script, in memory: what has been written can be
// read, and once the input is closed a read finds its end. A real read of
// an open, empty pipe would wait; this one would end the input instead,
// which the tests would see, so a console must ask ready() first.
class Script {
 public:
  std::unique_ptr<ScriptInput> input() const { return std::make_unique<Input>(state_); }
  void write(std::string_view bytes) { state_->bytes += bytes; }
  void closeInput() { state_->closed = true; }

 private:
  struct State {
    std::string bytes;
    bool closed = false;
  };
  class Input : public ScriptInput {
   public:
    explicit Input(std::shared_ptr<State> state) : state_(std::move(state)) {}
    long read(char* buffer, unsigned size) override {
      const std::size_t count = std::min<std::size_t>(size, state_->bytes.size());
      EXPECT_TRUE(count > 0 || state_->closed) << "read an open input with nothing in it";
      state_->bytes.copy(buffer, count);
      state_->bytes.erase(0, count);
      return static_cast<long>(count);
    }
    bool ready() override { return !state_->bytes.empty() || state_->closed; }

   private:
    std::shared_ptr<State> state_;
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

// Key codes as readKey would make them.
int nextCode(ScriptedConsole& console) {
  const int key = console.getKey();
  return key == 0 ? -console.getKey() : key;
}

TEST(ScriptedConsole, DecodesKeysLikeATerminal) {
  Script script;
  // UTF-8 too; only Esc and a character are two keys, as a script means them.
  script.write("ab\x1b[A\x1bOF\x1b[3~\x7f\r\n\x1bq\x1b[[E\xc3\xb3");
  script.closeInput();
  ScriptedConsole console(script.input());
  std::vector<int> codes;
  for (int i = 0; i < 11; ++i) codes.push_back(nextCode(console));
  EXPECT_EQ(codes, (std::vector<int>{'a', 'b', kKeyUp, kKeyEnd, kKeyDelete, kKeyBackspace,
                                     kKeyEnter, kKeyEsc, 'q', -63, kKeyNonAscii}));
}

TEST(ScriptedConsole, EndOfInputGivesEscForeverAndNeverBlocks) {
  Script script;
  script.write("x\x1b");
  script.closeInput();
  ScriptedConsole console(script.input());
  EXPECT_TRUE(console.keyPending());
  EXPECT_EQ(console.getKey(), 'x');
  // The trailing Esc has nothing after it: it is the Esc key.
  EXPECT_EQ(console.getKey(), kKeyEsc);
  EXPECT_TRUE(console.inputEnded());
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(console.keyPending());
    EXPECT_EQ(console.getKey(), kKeyEsc);
  }
}

TEST(ScriptedConsole, KeyPendingNeverBlocks) {
  Script script;
  script.write("abc");
  ScriptedConsole console(script.input());
  EXPECT_TRUE(console.keyPending());
  EXPECT_EQ(console.getKey(), 'a');
  EXPECT_EQ(console.getKey(), 'b');
  EXPECT_EQ(console.getKey(), 'c');
  // Input still open but nothing written yet: no key is pending, and asking
  // does not block.
  EXPECT_FALSE(console.keyPending());
  EXPECT_FALSE(console.inputEnded());
  script.write("\x1b[");
  EXPECT_FALSE(console.keyPending());
  script.write("B");
  EXPECT_TRUE(console.keyPending());
  EXPECT_EQ(nextCode(console), kKeyDown);
}

// What a paste means is for the screens; the console says which keys are.
TEST(ScriptedConsole, TellsWhichKeysWerePasted) {
  Script script;
  script.write("1\x1b[200~ab\x1b[201~2");
  script.closeInput();
  ScriptedConsole console(script.input());
  std::string keys;
  for (int i = 0; i < 4; ++i) {
    keys += static_cast<char>(console.getKey());
    keys += console.keyWasPasted() ? "+" : "-";
  }
  EXPECT_EQ(keys, "1-a+b+2-");
}

TEST(ScriptedConsole, KeepsTheCellsItIsGiven) {
  Script script;
  script.closeInput();
  ScriptedConsole console(script.input());
  console.setRegion(10, 5, 20, 6);
  console.setForeground(14);
  console.setBackground(2);
  console.writeText("Tab\t\xc4");
  EXPECT_EQ(console.cellAt(10, 5), (Cell{'T', makeAttribute(14, 2)}));
  EXPECT_EQ(console.cellAt(13, 5), (Cell{'\t', makeAttribute(14, 2)}));
  EXPECT_EQ(console.cellAt(14, 5), (Cell{0xc4, makeAttribute(14, 2)}));
  EXPECT_EQ(console.screenCursorColumn(), 15);
}

}  // namespace
}  // namespace corvane
