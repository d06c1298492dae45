// What the command line of the platform's users looks like. On POSIX systems
// people type --help, -h and --version to any program; Windows users type /?
// and there every other argument names a project file, as it always has.
// The Borland tools are Windows programs: typed into cmd on Windows, and
// into a POSIX shell through Wine anywhere else.
#ifndef CORVANE_PLATFORM_COMMAND_LINE_H
#define CORVANE_PLATFORM_COMMAND_LINE_H

namespace corvane {

#if defined(_WIN32)
inline constexpr bool kPosixOptions = false;
inline constexpr bool kToolsRunUnderWine = false;
#else
inline constexpr bool kPosixOptions = true;
inline constexpr bool kToolsRunUnderWine = true;
#endif

}  // namespace corvane

#endif  // CORVANE_PLATFORM_COMMAND_LINE_H
