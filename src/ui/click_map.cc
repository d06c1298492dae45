#include "ui/click_map.h"

#include <algorithm>

namespace corvane {

void ClickMap::add(int left, int top, int right, int bottom, int key) {
  if (left > right || top > bottom || key == 0) return;
  places_.push_back(Place{left, top, right, bottom, key});
}

void ClickMap::forgetRow(int row, int fromColumn) {
  places_.erase(std::remove_if(places_.begin(), places_.end(),
                               [&](const Place& place) {
                                 return place.top <= row && row <= place.bottom &&
                                        place.right >= fromColumn;
                               }),
                places_.end());
}

int ClickMap::keyFor(const MouseEvent& event, int column, int row) const {
  switch (event.action) {
    case MouseEvent::Action::kWheelUp:
      return wheelUpKey_;
    case MouseEvent::Action::kWheelDown:
      return wheelDownKey_;
    case MouseEvent::Action::kPress:
      break;
  }
  if (event.button != MouseEvent::kLeft) return 0;
  for (auto place = places_.rbegin(); place != places_.rend(); ++place) {
    if (place->left <= column && column <= place->right && place->top <= row &&
        row <= place->bottom)
      return place->key;
  }
  return 0;
}

}  // namespace corvane
