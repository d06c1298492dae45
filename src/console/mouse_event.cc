#include "console/mouse_event.h"

namespace corvane {

namespace {

constexpr int kCoordinateBits = 12;
constexpr int kCoordinateMask = (1 << kCoordinateBits) - 1;
constexpr int kButtons = 3;

int clampCoordinate(int value) {
  return value < 0 ? 0 : value > kMouseCoordinateLimit ? kMouseCoordinateLimit : value;
}

}  // namespace

int mouseCode(const MouseEvent& event) {
  const int kind = static_cast<int>(event.action) * kButtons + (event.button % kButtons);
  const int payload = (kind << (2 * kCoordinateBits)) |
                      (clampCoordinate(event.column) << kCoordinateBits) |
                      clampCoordinate(event.row);
  return kMouseCodeTop - payload;
}

MouseEvent mouseEventOf(int code) {
  const int payload = kMouseCodeTop - code;
  const int kind = payload >> (2 * kCoordinateBits);
  MouseEvent event;
  event.action = static_cast<MouseEvent::Action>(kind / kButtons);
  event.button = kind % kButtons;
  event.column = (payload >> kCoordinateBits) & kCoordinateMask;
  event.row = payload & kCoordinateMask;
  return event;
}

}  // namespace corvane
