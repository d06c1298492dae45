#include "platform/win32/key_queue.h"

#include "console/mouse_event.h"

namespace corvane {

void KeyQueue::addBatch(const std::vector<int>& presses) {
  if (presses.empty()) return;
  ++batchesAdded_;
  for (int code : presses) presses_.push_back(Press{code, batchesAdded_});
}

void KeyQueue::dropMouseEventsAhead() {
  while (!presses_.empty() && isMouseCode(presses_.front().code)) presses_.pop_front();
}

int KeyQueue::take() {
  const Press press = presses_.front();
  presses_.pop_front();
  lastTakenBatch_ = press.batch;
  return press.code;
}

int KeyQueue::takeTypedAhead() {
  const int code = presses_.front().code;
  presses_.pop_front();
  return code;
}

bool KeyQueue::nextIsFromLaterBatch() const {
  return !presses_.empty() && presses_.front().batch != lastTakenBatch_;
}

}  // namespace corvane
