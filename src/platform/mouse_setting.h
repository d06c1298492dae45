// Whether the user lets Corvane take the mouse: yes unless CORVANE_MOUSE is
// "0". A terminal's own text selection does not work while a program takes
// the mouse, so there is a way to keep it. Both consoles ask it as they open.
#ifndef CORVANE_PLATFORM_MOUSE_SETTING_H
#define CORVANE_PLATFORM_MOUSE_SETTING_H

namespace corvane {

bool mouseWanted();

}  // namespace corvane

#endif  // CORVANE_PLATFORM_MOUSE_SETTING_H
