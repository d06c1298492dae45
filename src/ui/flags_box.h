// F2 on the editing screens: a box with what the makefile will hand the
// compiler and the linker for the project as it is being edited.
#ifndef CORVANE_UI_FLAGS_BOX_H
#define CORVANE_UI_FLAGS_BOX_H

#include "project/make_project.h"
#include "ui/corvane_screen.h"

namespace corvane {

// Shows the compiler and linker flags, the start-up object and the
// libraries, the makefile's own macros spelled out, over the screen; any
// key or a click closes the box and the screen comes back as it was.
void showToolSettings(CorvaneScreen& screen, const ProjectSettings& settings);

}  // namespace corvane

#endif  // CORVANE_UI_FLAGS_BOX_H
