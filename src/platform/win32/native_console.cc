#include "platform/native_console.h"

#include <fcntl.h>
#include <io.h>

#include <utility>

#include "console/scripted_console.h"
#include "platform/script_input.h"
#include "platform/win32/win32_console.h"

namespace corvane {

OpenedConsole makeNativeConsole() {
  if (auto console = makeWin32Console()) return {std::move(console), ""};
  // Keys from a file or a pipe. The C runtime would otherwise turn CR LF into
  // LF and stop at a Ctrl-Z, and both are keys a script may send.
  _setmode(0, _O_BINARY);
  return {std::make_unique<ScriptedConsole>(std::make_unique<DescriptorScriptInput>(0)), ""};
}

}  // namespace corvane
