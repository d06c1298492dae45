// The name of the object file the compiler makes from a source file.
#ifndef CORVANE_MAKEFILE_OBJECT_NAMES_H
#define CORVANE_MAKEFILE_OBJECT_NAMES_H

#include <string_view>

namespace corvane {

// The object file's name without its ".obj": the source name, right-trimmed,
// without its last extension (the last dot of the last path component and
// what follows it). hello.cpp gives hello.obj, Main.CPP gives Main.obj,
// my.calc.cpp gives my.calc.obj and a name without an extension simply gets
// ".obj" appended. A part of the source name, so that a makefile of
// thousands of sources makes no copy of each name to name its object.
std::string_view objectStem(std::string_view sourceName);

}  // namespace corvane

#endif  // CORVANE_MAKEFILE_OBJECT_NAMES_H
