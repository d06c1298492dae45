#include "support/memory_console.h"

#include "console/key_codes.h"

namespace corvane {

void MemoryConsole::pushKey(int code) {
  if (code < 0 && !isWholeKeyCode(code)) {
    keys_.push_back({0, false});
    keys_.push_back({-code, false});
  } else {
    keys_.push_back({code, false});
  }
}

void MemoryConsole::pushKeys(std::string_view text) {
  for (char byte : text) keys_.push_back({static_cast<unsigned char>(byte), false});
}

void MemoryConsole::pushPaste(std::string_view text) {
  for (char byte : text) keys_.push_back({static_cast<unsigned char>(byte), true});
}

void MemoryConsole::pushClick(int column, int row, int button) {
  MouseEvent event;
  event.button = button;
  event.column = column;
  event.row = row;
  keys_.push_back({mouseCode(event), false});
}

void MemoryConsole::pushWheel(MouseEvent::Action turn) {
  MouseEvent event;
  event.action = turn;
  keys_.push_back({mouseCode(event), false});
}

int MemoryConsole::getKey() {
  if (observer_) observer_(*this);
  lastPasted_ = false;
  if (keys_.empty()) {
    ranDry_ = true;
    return 27;
  }
  const Key key = keys_.front();
  keys_.pop_front();
  lastPasted_ = key.pasted;
  ++keysRead_;
  return key.code;
}

std::string MemoryConsole::rowText(int row) const { return rowText(row, 1, kScreenColumns); }

std::string MemoryConsole::rowText(int row, int first, int last) const {
  std::string text;
  for (int column = first; column <= last; ++column)
    text += static_cast<char>(cellAt(column, row).character);
  return text;
}

}  // namespace corvane
