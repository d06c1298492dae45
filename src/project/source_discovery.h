// Finds the C and C++ sources of the current directory and the one that
// defines the program's entry point.
#ifndef CORVANE_PROJECT_SOURCE_DISCOVERY_H
#define CORVANE_PROJECT_SOURCE_DISCOVERY_H

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "text/text_utils.h"

namespace corvane {

enum class EntryFlavour { kConsole, kWindows };

// How much of a source is searched for an entry point: its first 16 MiB. A
// definition further down is not found; reading stops there, so that a
// huge or endless file (a link to a device, a sparse file) costs no more.
inline constexpr std::size_t kEntrySearchBytes = std::size_t{16} << 20;

int collectFiles(const FileSystem& fs, List& list, const std::string& extension);
List scanSources(const FileSystem& fs);
bool definesEntryPoint(const FileSystem& fs, const std::string& fileName);
bool isEntryDefinition(std::string_view line, EntryFlavour flavour);
std::string defaultTargetName(const FileSystem& fs, const List& sources);

}  // namespace corvane

#endif  // CORVANE_PROJECT_SOURCE_DISCOVERY_H
