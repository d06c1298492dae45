// The one place that includes <windows.h>, with the settings every Corvane
// file wants: no min/max macros to clash with the standard library, and only
// the core of the API.
#ifndef CORVANE_PLATFORM_WIN32_WINDOWS_API_H
#define CORVANE_PLATFORM_WIN32_WINDOWS_API_H

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#endif  // CORVANE_PLATFORM_WIN32_WINDOWS_API_H
