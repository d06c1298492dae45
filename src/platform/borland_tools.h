// How the Borland C++ 5.5 tools are started where Corvane runs: they are
// Windows programs, started directly on Windows and through Wine anywhere
// else, from a shell of that system (cmd or a POSIX shell).
#ifndef CORVANE_PLATFORM_BORLAND_TOOLS_H
#define CORVANE_PLATFORM_BORLAND_TOOLS_H

namespace corvane {

#if defined(_WIN32)
inline constexpr bool kToolsRunUnderWine = false;
#else
inline constexpr bool kToolsRunUnderWine = true;
#endif

}  // namespace corvane

#endif  // CORVANE_PLATFORM_BORLAND_TOOLS_H
