#include "platform/win32/win32_console.h"

#include <array>
#include <atomic>
#include <cstdlib>
#include <deque>
#include <vector>

#include "console/cell_console.h"
#include "console/mouse_event.h"
#include "platform/colour_setting.h"
#include "platform/mouse_setting.h"
#include "platform/win32/console_keys.h"
#include "platform/win32/windows_api.h"

namespace corvane {

namespace {

// The code page whose glyphs the screens are drawn in (byte 196 is the
// horizontal line of the banners and boxes).
constexpr UINT kScreenCodePage = 437;

// What has to be put back when Corvane lets go of the console. Restoring
// may be asked for from the console's control thread (window closed) while
// the main thread still runs, so it happens at most once.
class ConsoleTakeover {
 public:
  ConsoleTakeover(HANDLE input, HANDLE userScreen, DWORD inputMode, UINT outputCodePage)
      : input_(input),
        userScreen_(userScreen),
        inputMode_(inputMode),
        outputCodePage_(outputCodePage) {}

  void restore() {
    if (restored_.exchange(true)) return;
    SetConsoleActiveScreenBuffer(userScreen_);
    SetConsoleMode(input_, inputMode_);
    SetConsoleOutputCP(outputCodePage_);
  }

 private:
  HANDLE input_;
  HANDLE userScreen_;
  DWORD inputMode_;
  UINT outputCodePage_;
  std::atomic<bool> restored_{false};
};

// The console control handler and exit hook get no context from Windows,
// so the one console taken over is known here; the process has one console
// and Corvane takes it over once.
std::atomic<ConsoleTakeover*> activeTakeover{nullptr};

void restoreActiveConsole() {
  if (ConsoleTakeover* takeover = activeTakeover.load()) takeover->restore();
}

BOOL WINAPI onConsoleControl(DWORD event) {
  // Ctrl-Break, closing the window, logging off, shutting down: the
  // console is put back first.
  restoreActiveConsole();
  // An interrupted run ends with the status Windows gives interrupted
  // console programs. Wine's default handling would end it with 0, as if
  // the run had succeeded, so this is not left to it.
  if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) ExitProcess(STATUS_CONTROL_C_EXIT);
  // Otherwise the default handling ends the program.
  return FALSE;
}

// Gives a screen buffer the size of Corvane's screen, and its window too
// where the display allows. The window may never be larger than the
// buffer, hence the order.
void fitTo80By25(HANDLE screen) {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(screen, &info)) return;
  const SHORT windowWidth = static_cast<SHORT>(info.srWindow.Right - info.srWindow.Left + 1);
  const SHORT windowHeight = static_cast<SHORT>(info.srWindow.Bottom - info.srWindow.Top + 1);
  SMALL_RECT shrunk{
      0, 0, static_cast<SHORT>((windowWidth < kScreenColumns ? windowWidth : kScreenColumns) - 1),
      static_cast<SHORT>((windowHeight < kScreenRows ? windowHeight : kScreenRows) - 1)};
  SetConsoleWindowInfo(screen, TRUE, &shrunk);
  SetConsoleScreenBufferSize(screen, COORD{kScreenColumns, kScreenRows});
  SMALL_RECT full{0, 0, kScreenColumns - 1, kScreenRows - 1};
  SetConsoleWindowInfo(screen, TRUE, &full);
}

class Win32Console : public CellConsole {
 public:
  Win32Console(HANDLE input, HANDLE userScreen, HANDLE ownScreen, DWORD inputMode, UINT codePage)
      : input_(input),
        userScreen_(userScreen),
        screen_(ownScreen),
        takeover_(input, userScreen, inputMode, codePage) {
    activeTakeover.store(&takeover_);
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
    static const bool exitHookRegistered = std::atexit(restoreActiveConsole) == 0;
    (void)exitHookRegistered;

    SetConsoleOutputCP(kScreenCodePage);
    // Ctrl-C becomes an ordinary key; no line editing or echo by the
    // console; no window events in the input. Mouse events come in unless
    // CORVANE_MOUSE=0; quick edit would take the mouse for marking text, so
    // it is off while they do, and stays as the user has it otherwise.
    const DWORD mouseMode = mouse_ ? ENABLE_MOUSE_INPUT : (inputMode & ENABLE_QUICK_EDIT_MODE);
    SetConsoleMode(input_, ENABLE_EXTENDED_FLAGS | mouseMode | (inputMode & ENABLE_INSERT_MODE));
    fitTo80By25(screen_);
    SetConsoleActiveScreenBuffer(screen_);
    shown_.fill(Cell{0, 0});  // differs from every cell, so the first flush draws all
  }

  Win32Console(const Win32Console&) = delete;
  Win32Console& operator=(const Win32Console&) = delete;

  ~Win32Console() override {
    takeover_.restore();
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
    ConsoleTakeover* expected = &takeover_;
    activeTakeover.compare_exchange_strong(expected, nullptr);
    CloseHandle(screen_);
    CloseHandle(userScreen_);
  }

  int getKey() override {
    while (keys_.empty()) {
      flush();
      readInput(true);
    }
    const int key = keys_.front();
    keys_.pop_front();
    return key;
  }

  // Takes nothing from the console's input: a key pressed while the usage
  // screen waits here stays there for the command prompt, as it does for
  // a DOS program. What comes before it and is no key press (a release, a
  // click, a focus change) is read and dropped. The screen must be on the
  // console while it waits, so the cells are flushed here too.
  bool keyPending() override {
    while (!keys_.empty() && isMouseCode(keys_.front())) keys_.pop_front();
    if (!keys_.empty()) return true;
    flush();
    for (;;) {
      INPUT_RECORD record;
      DWORD count = 0;
      // A console that cannot be read any more ends the wait.
      if (!PeekConsoleInputA(input_, &record, 1, &count)) return true;
      if (count == 0) return false;
      std::vector<int> presses;
      if (record.EventType == KEY_EVENT) appendKeyPresses(record.Event.KeyEvent, presses);
      if (!presses.empty()) return true;
      if (!ReadConsoleInputA(input_, &record, 1, &count)) return true;
    }
  }

  // The console always has its 16 colours; only the user can ask for none.
  bool showsColour() const override { return colourWanted_; }

 protected:
  void bell() override {
    flush();
    Beep(3000, 100);
  }

 private:
  // Puts the cells that changed since the last flush on the console, then
  // the cursor.
  void flush() {
    std::array<CHAR_INFO, kScreenColumns * kScreenRows> cells;
    bool changed = false;
    for (int row = 1; row <= kScreenRows; ++row) {
      for (int column = 1; column <= kScreenColumns; ++column) {
        const std::size_t index = static_cast<std::size_t>((row - 1) * kScreenColumns + column - 1);
        const Cell& cell = cellAt(column, row);
        if (cell != shown_[index]) changed = true;
        shown_[index] = cell;
        cells[index].Char.AsciiChar = static_cast<CHAR>(cell.character);
        cells[index].Attributes = cell.attribute;
      }
    }
    if (changed) {
      SMALL_RECT area{0, 0, kScreenColumns - 1, kScreenRows - 1};
      WriteConsoleOutputA(screen_, cells.data(), COORD{kScreenColumns, kScreenRows}, COORD{0, 0},
                          &area);
    }
    SetConsoleCursorPosition(screen_, COORD{static_cast<SHORT>(screenCursorColumn() - 1),
                                            static_cast<SHORT>(screenCursorRow() - 1)});
  }

  // Reads the console's input into the key queue: everything that is there
  // now; with wait, first waits for at least one event.
  void readInput(bool wait) {
    std::vector<int> presses;
    std::array<INPUT_RECORD, 128> records;
    for (;;) {
      if (!(wait && presses.empty()) && !inputWaiting()) break;
      DWORD count = 0;
      if (!ReadConsoleInputA(input_, records.data(), static_cast<DWORD>(records.size()), &count) ||
          count == 0) {
        // The console is gone (it cannot be read any more): Esc ends every
        // screen, so the program winds down instead of hanging.
        presses.push_back(27);
        break;
      }
      for (DWORD i = 0; i < count; ++i) {
        if (records[i].EventType == KEY_EVENT) {
          appendKeyPresses(records[i].Event.KeyEvent, presses);
        } else if (records[i].EventType == MOUSE_EVENT && mouse_) {
          appendMouseEvents(records[i].Event.MouseEvent, buttonsHeld_, presses);
        }
      }
    }
    keys_.insert(keys_.end(), presses.begin(), presses.end());
  }

  // Whether an input event is waiting. Peeking (unlike counting the events)
  // also makes Wine's console on a terminal fetch what was typed.
  bool inputWaiting() const {
    INPUT_RECORD record;
    DWORD count = 0;
    return PeekConsoleInputA(input_, &record, 1, &count) && count > 0;
  }

  HANDLE input_;
  HANDLE userScreen_;
  HANDLE screen_;
  ConsoleTakeover takeover_;
  // The presses read and not yet handed out, in the order they came.
  std::deque<int> keys_;
  bool mouse_ = mouseWanted();
  bool colourWanted_ = colourWanted();
  DWORD buttonsHeld_ = 0;  // the mouse buttons down, to tell presses
  std::array<Cell, kScreenColumns * kScreenRows> shown_;
};

}  // namespace

std::unique_ptr<Console> makeWin32Console() {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD inputMode = 0;
  if (input == INVALID_HANDLE_VALUE || input == nullptr || !GetConsoleMode(input, &inputMode))
    return nullptr;
  // The screen buffer the user sees now, whatever standard output is.
  HANDLE userScreen =
      CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (userScreen == INVALID_HANDLE_VALUE) return nullptr;
  HANDLE ownScreen =
      CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
  if (ownScreen == INVALID_HANDLE_VALUE) {
    CloseHandle(userScreen);
    return nullptr;
  }
  return std::make_unique<Win32Console>(input, userScreen, ownScreen, inputMode,
                                        GetConsoleOutputCP());
}

}  // namespace corvane
