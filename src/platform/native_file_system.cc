#include "platform/native_file_system.h"

#include <memory>

namespace corvane {

std::unique_ptr<FileSystem> makeNativeFileSystem(const std::string& startedAs) {
  return std::make_unique<NativeFileSystem>(startedAs);
}

}  // namespace corvane
