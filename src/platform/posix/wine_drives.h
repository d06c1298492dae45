// How Wine names a directory of the Linux disk. The Borland tools run under
// Wine there, and Borland Make reads the directories of a makefile as Windows
// paths, so a directory found on the Linux disk must be written the way Wine
// shows it: through one of the drives of the Wine prefix.
#ifndef CORVANE_PLATFORM_POSIX_WINE_DRIVES_H
#define CORVANE_PLATFORM_POSIX_WINE_DRIVES_H

#include <string>

namespace corvane {

// The Windows name of a directory under the Wine prefix given. The directory
// and the targets of the prefix's dosdevices links (c:, d:, ...) are resolved;
// the drive whose target is the longest leading part of the directory names
// it (C:\Borland\BCC55), the first letter winning between equal targets, as
// in Wine. A directory that no drive holds is named through Z:, which Wine
// gives the whole disk, even when the prefix has no z: link. Components keep
// their case as on disk; a drive's own directory is named by the letter alone
// (C:), as the directory above a Bin directory at the top of a Windows drive
// is. A relative directory that cannot be resolved is given back unchanged.
std::string wineDirectoryName(const std::string& directory, const std::string& winePrefix);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_POSIX_WINE_DRIVES_H
