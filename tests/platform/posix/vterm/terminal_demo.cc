// A small program that puts the terminal console through its paces, for the
// tests that run it on a pseudo-terminal and read the screen back through a
// terminal emulator. It draws every colour combination, the line and tab
// glyphs and a few texts, then echoes each key press as a code on row 12
// ("pasted" after the code of a key that came from a paste) until 'q' is
// pressed ('X' ends it through exit(), skipping the console's destructor;
// '!' rings the bell).
//
//   terminal_demo [--shell-line TEXT] [--field]
//
// --shell-line prints TEXT before the console opens (it must come back when
// the console closes); --field types printable keys into a field on row 5
// and echoes nothing else, to count the bytes one typed character costs.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/posix/terminal_console.h"
#include "ui/line_editor.h"
#include "ui/text_window.h"

namespace {

void drawTestContent(corvane::Console& console) {
  static const char kHex[] = "0123456789ABCDEF";
  for (int background = 0; background < 8; ++background) {
    for (int foreground = 0; foreground < 16; ++foreground) {
      console.moveCursor(foreground + 1, background + 1);
      console.setForeground(foreground);
      console.setBackground(background);
      console.writeText(std::string(1, kHex[foreground]));
    }
  }
  console.setForeground(7);
  console.setBackground(0);
  console.moveCursor(1, 9);
  console.writeText("\xc4\xc4\xc4\x09Text \xb3\xdb");
  console.moveCursor(1, 24);
  console.writeText("Row 24");
  console.moveCursor(1, 25);
  console.writeText("Row 25");
}

void echoKey(corvane::Console& console, int code, int count, bool pasted) {
  console.setForeground(14);
  console.setBackground(1);
  console.moveCursor(1, 12);
  console.writeText("Key " + std::to_string(code) + " #" + std::to_string(count) +
                    (pasted ? " pasted" : ""));
  console.clearLineEnd();
}

}  // namespace

int main(int argc, char** argv) {
  bool field = false;  // the line editor on a field instead of the key echo
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--shell-line") == 0 && i + 1 < argc) {
      std::printf("%s\r\n", argv[++i]);
      std::fflush(stdout);
    } else if (std::strcmp(argv[i], "--field") == 0) {
      field = true;
    }
  }
  corvane::OpenedConsole opened = corvane::TerminalConsole::open();
  if (!opened.console) {
    std::fprintf(stderr, "no terminal: %s\n", opened.problem.c_str());
    return 2;
  }
  corvane::Console* console = opened.console.get();
  drawTestContent(*console);
  if (field) {
    corvane::TextWindow window(*console, 1, 3, 80, 7, 14, 1);
    window.show();
    window.setCursor(10, 3);
    std::string value;
    return corvane::editLine(window, value, "") == 13 ? 0 : 1;
  }
  echoKey(*console, 0, 0, false);
  for (int count = 1;; ++count) {
    int code = console->getKey();
    if (code == 0) code = -console->getKey();
    if (code == 'q') break;
    if (code == 'X') std::exit(3);  // the console is never destroyed
    if (code == '!') console->writeText("\a");
    echoKey(*console, code, count, console->keyWasPasted());
  }
  return 0;
}
