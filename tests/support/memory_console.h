// A console that lives in memory: the cells of a CellConsole and a queue of
// keys. The screens' tests drive it and read back characters and colours.
#ifndef CORVANE_TESTS_SUPPORT_MEMORY_CONSOLE_H
#define CORVANE_TESTS_SUPPORT_MEMORY_CONSOLE_H

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "console/cell_console.h"
#include "console/mouse_event.h"

namespace corvane {

class MemoryConsole : public CellConsole {
 public:
  // Queues one key code as readKey returns it: a negated scan code becomes
  // the two presses 0 and the scan code; a whole key code stays one press.
  void pushKey(int code);
  // Queues each byte of the text as a key.
  void pushKeys(std::string_view text);
  // Queues a mouse event: a press of the button at the screen position, or
  // a turn of the wheel.
  void pushClick(int column, int row, int button = MouseEvent::kLeft);
  void pushWheel(MouseEvent::Action turn);

  // Queues each byte of the text as a key of a paste, as a terminal marks
  // the characters of one.
  void pushPaste(std::string_view text);
  // As a terminal without colours, or with NO_COLOR set, answers.
  void setShowsColour(bool on) { showsColour_ = on; }
  bool showsColour() const override { return showsColour_; }

  // When the queue is empty every further key is Esc, so a test that runs
  // out of keys ends instead of hanging.
  int getKey() override;
  // A key is always there to read: Esc once the queue is empty.
  bool keyPending() override { return true; }
  bool keyWasPasted() const override { return lastPasted_; }

  // Called each time a key is about to be handed out, with the console as it
  // is at that moment: tests read the screen a question shows, or change the
  // world between two key presses.
  void setKeyObserver(std::function<void(const MemoryConsole&)> observer) {
    observer_ = std::move(observer);
  }

  std::size_t keysLeft() const { return keys_.size(); }
  int keysRead() const { return keysRead_; }
  bool ranDry() const { return ranDry_; }

  // The 80 characters of a screen row (1-based).
  std::string rowText(int row) const;
  // Characters of a row from column first to last, inclusive.
  std::string rowText(int row, int first, int last) const;
  int foregroundAt(int column, int row) const { return cellAt(column, row).attribute & 0x0F; }
  int backgroundAt(int column, int row) const {
    return (cellAt(column, row).attribute >> 4) & 0x07;
  }

 private:
  struct Key {
    int code;
    bool pasted;
  };
  std::deque<Key> keys_;
  bool showsColour_ = true;
  bool ranDry_ = false;
  bool lastPasted_ = false;
  int keysRead_ = 0;
  std::function<void(const MemoryConsole&)> observer_;
};

}  // namespace corvane

#endif  // CORVANE_TESTS_SUPPORT_MEMORY_CONSOLE_H
