// The key presses read from the console but not yet handed out, each marked
// with the batch of input it arrived in. A paste arrives as one batch; keys
// typed while Corvane was busy arrive in later batches. This lets the
// console keep pasted text for the line editor while the screens still drop
// keys that were typed ahead.
#ifndef CORVANE_PLATFORM_WIN32_KEY_QUEUE_H
#define CORVANE_PLATFORM_WIN32_KEY_QUEUE_H

#include <deque>
#include <vector>

namespace corvane {

class KeyQueue {
 public:
  // Adds the presses of one batch of input (nothing happens for none).
  void addBatch(const std::vector<int>& presses);

  bool empty() const { return presses_.empty(); }
  // Drops the mouse events at the front, up to the next key press.
  void dropMouseEventsAhead();
  // The next press; the queue must not be empty. Its batch becomes the one
  // that later presses are compared with.
  int take();
  // The next press, which is being thrown away as typed ahead: the batch
  // compared with stays as it was, so the rest of that later batch counts
  // as typed ahead too.
  int takeTypedAhead();
  // True when the next press came in a later batch than the one taken last:
  // it was typed after that one, not pasted with it.
  bool nextIsFromLaterBatch() const;

 private:
  struct Press {
    int code;
    unsigned long batch;
  };
  std::deque<Press> presses_;
  unsigned long batchesAdded_ = 0;
  unsigned long lastTakenBatch_ = 0;
};

}  // namespace corvane

#endif  // CORVANE_PLATFORM_WIN32_KEY_QUEUE_H
