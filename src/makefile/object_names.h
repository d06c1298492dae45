// The name of the object file the compiler makes from a source file.
#ifndef CORVANE_MAKEFILE_OBJECT_NAMES_H
#define CORVANE_MAKEFILE_OBJECT_NAMES_H

#include <string>
#include <string_view>

namespace corvane {

// The source name, right-trimmed, without its last extension (the last dot
// of the last path component and what follows it), then ".obj": hello.cpp
// gives hello.obj, Main.CPP gives Main.obj, my.calc.cpp gives my.calc.obj
// and a name without an extension simply gets ".obj" appended.
std::string objectName(std::string_view sourceName);

}  // namespace corvane

#endif  // CORVANE_MAKEFILE_OBJECT_NAMES_H
