// One run of Corvane, from the command line to the written makefile.
#ifndef CORVANE_APP_PROGRAM_FLOW_H
#define CORVANE_APP_PROGRAM_FLOW_H

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "ui/console.h"

namespace corvane {

// arguments are those after the program name. Returns the exit status.
int runCorvane(const std::vector<std::string>& arguments, Console& console, FileSystem& fs);

}  // namespace corvane

#endif  // CORVANE_APP_PROGRAM_FLOW_H
