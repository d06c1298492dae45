// What a click on a window means: the places where the window shows a key's
// label, or the text that label stands for, each with its key, and the keys
// that the mouse wheel stands for. A screen notes them as it draws; a click
// on one then acts exactly as pressing its key. Positions are the window's
// own, 1-based.
#ifndef CORVANE_UI_CLICK_MAP_H
#define CORVANE_UI_CLICK_MAP_H

#include <vector>

#include "console/mouse_event.h"

namespace corvane {

class ClickMap {
 public:
  // Cells left to right, top to bottom, inclusive; later places win where
  // they overlap earlier ones.
  void add(int left, int top, int right, int bottom, int key);
  // The places that reach into the row from the column on: that part of
  // the row was wiped.
  void forgetRow(int row, int fromColumn);
  void clear() { *this = ClickMap(); }
  // 0 for a direction leaves the wheel doing nothing.
  void setWheel(int upKey, int downKey) {
    wheelUpKey_ = upKey;
    wheelDownKey_ = downKey;
  }

  // The key a left click at the window position, or a wheel turn anywhere,
  // stands for; 0 for none.
  int keyFor(const MouseEvent& event, int column, int row) const;

 private:
  struct Place {
    int left;
    int top;
    int right;
    int bottom;
    int key;
  };
  std::vector<Place> places_;
  int wheelUpKey_ = 0;
  int wheelDownKey_ = 0;
};

}  // namespace corvane

#endif  // CORVANE_UI_CLICK_MAP_H
