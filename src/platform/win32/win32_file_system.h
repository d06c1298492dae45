// The file system through the Win32 API (the "A" functions, so names are
// bytes of the ANSI code page, as everywhere else in Corvane).
#ifndef CORVANE_PLATFORM_WIN32_WIN32_FILE_SYSTEM_H
#define CORVANE_PLATFORM_WIN32_WIN32_FILE_SYSTEM_H

#include "platform/file_system.h"

namespace corvane {

class Win32FileSystem : public FileSystem {
 public:
  std::string currentDirectory() const override;
  std::vector<std::string> listMatching(const std::string& extension) const override;
  bool exists(const std::string& path) const override;
  bool isWritable(const std::string& path) const override;
  std::optional<std::string> readFile(const std::string& path,
                                      std::size_t maxBytes) const override;
  SaveResult saveFile(const std::string& path, const std::string& content) override;
  std::string programPath() const override;
  PathParts splitPath(const std::string& path) const override;
};

}  // namespace corvane

#endif  // CORVANE_PLATFORM_WIN32_WIN32_FILE_SYSTEM_H
