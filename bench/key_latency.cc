// How long a key takes as a user feels it: the real program on a
// pseudo-terminal, in a scratch directory of 20,000 sources, timed from
// writing a key's bytes to the last byte of the redraw that answers it. The
// redraw is over when the program has written nothing for a while (the
// screen is drawn in one burst; the quiet time itself is not counted).
// Each key is timed 9 times and the median, the fastest and the slowest are
// printed. The filter's keys come last, after six of the sources have been
// deleted so that the project lists missing ones; against a program that
// lacks them the measurement stops there.
// Usage: corvane_key_latency [path of corvane, absolute or relative]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "support/pty_terminal.h"
#include "support/scratch_directory.h"

namespace {

using corvane::ScratchDirectory;
using corvane::testing::PtyTerminal;
using Clock = std::chrono::steady_clock;

constexpr int kSourceCount = 20000;
constexpr int kRepeats = 9;
constexpr int kQuietMs = 150;
constexpr int kWaitMs = 60000;

const char kMainPrompt[] = "Press (selection), [Esc], [->] or [Enter]...";
const char kSourcesPrompt[] = "Press (selection), [<-] [->], [Esc] or [Enter]...";

// s00000.cpp to s19999.cpp, every fourth a .c file; the first defines main.
void writeSources(const ScratchDirectory& scratch) {
  for (int i = 0; i < kSourceCount; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "s%05d.%s", i, i % 4 == 0 ? "c" : "cpp");
    std::ofstream(scratch.path() + "/" + name)
        << (i == 0 ? "int main(void) { return 0; }\n" : "int helper(int x) { return x; }\n");
  }
}

struct Action {
  const char* name;
  const char* key;
  // What the screen shows once the key has done its work.
  std::function<bool(const PtyTerminal&)> done;
  // Brings the program back to where the key is pressed again, untimed.
  const char* undo;
  // Keys pressed before each timed one, untimed, each once the screen has
  // settled, so that no work of theirs runs into the time of the key.
  std::vector<std::string> before = {};
};

int fail(const char* what, const PtyTerminal& terminal) {
  std::fprintf(stderr, "corvane_key_latency: %s; the screen:\n%s", what,
               terminal.screenText().c_str());
  return 1;
}

bool shows(const PtyTerminal& terminal, const std::string& text) { return terminal.shows(text); }

// Presses the key, untimed, and waits for the screen to show the text.
bool press(PtyTerminal& terminal, const char* key, const std::string& text) {
  terminal.settle(kQuietMs, kWaitMs);
  terminal.send(key);
  return terminal.waitUntil([&] { return shows(terminal, text); }, kWaitMs);
}

// Presses each key once the screen has settled after the one before.
void pressEach(PtyTerminal& terminal, const std::vector<std::string>& keys) {
  for (const std::string& key : keys) {
    terminal.settle(kQuietMs, kWaitMs);
    terminal.send(key);
  }
}

bool timeAction(PtyTerminal& terminal, const Action& action) {
  std::vector<double> times;
  for (int run = 0; run < kRepeats; ++run) {
    pressEach(terminal, action.before);
    terminal.settle(kQuietMs, kWaitMs);
    const Clock::time_point sent = Clock::now();
    terminal.send(action.key);
    terminal.settle(kQuietMs, kWaitMs);
    if (terminal.lastOutputTime() <= sent || !action.done(terminal)) {
      fail("the key was not answered as expected", terminal);
      return false;
    }
    times.push_back(std::chrono::duration<double, std::milli>(terminal.lastOutputTime() - sent)
                        .count());
    if (action.undo != nullptr) terminal.send(action.undo);
  }
  std::sort(times.begin(), times.end());
  std::printf("%-28s %8.2f ms   (%.2f to %.2f)\n", action.name, times[kRepeats / 2],
              times.front(), times.back());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // The program runs in the scratch directory: a path relative to where the
  // measurement was started is made absolute before leaving it.
  const std::string program =
      std::filesystem::absolute(argc > 1 ? argv[1] : CORVANE_EXECUTABLE).string();
  ScratchDirectory scratch("sources");
  writeSources(scratch);
  PtyTerminal terminal(25, 80);
  const std::vector<std::string> environment = {
      "TERM=xterm-256color", "LANG=C.UTF-8", "LC_ALL=", "LC_CTYPE=C.UTF-8",
      "WINEPREFIX=" + scratch.root() + "/no-wine"};
  if (!terminal.start(program, {}, environment)) {
    std::fprintf(stderr, "corvane_key_latency: cannot start %s\n", program.c_str());
    return 1;
  }
  if (!terminal.waitUntil([&] { return shows(terminal, kMainPrompt); }, kWaitMs))
    return fail("the main screen did not come", terminal);

  std::printf("%d sources, median of %d (fastest to slowest), from the key to the last byte "
              "of its redraw\n",
              kSourceCount, kRepeats);
  const auto onMain = [](const PtyTerminal& t) { return shows(t, kMainPrompt); };
  const auto onSources = [](const PtyTerminal& t) { return shows(t, kSourcesPrompt); };
  int page = 1;
  const auto nextPage = [&page](const PtyTerminal& t) {
    return shows(t, "page " + std::to_string(++page) + " of");
  };
  if (!timeAction(terminal, {"toggle an option (a)", "a", onMain, nullptr}) ||
      !timeAction(terminal, {"enter the sources screen", "\x1b[C", onSources, "\x1b[D"}))
    return 1;
  if (!press(terminal, "\x1b[C", kSourcesPrompt))
    return fail("the sources screen did not come", terminal);
  if (!timeAction(terminal, {"turn a page (PgDn)", "\x1b[6~", nextPage, nullptr}) ||
      !timeAction(terminal, {"move a file (a)", "a", onSources, nullptr}) ||
      !timeAction(terminal,
                  {"reload the sources (1)", "1",
                   [](const PtyTerminal& t) { return shows(t, "page 1 of"); }, "\x1b[6~"}))
    return 1;

  // Six sources of the project go missing; the screen is entered again to
  // see it. The filter "s19*" shows 1,000 of the 20,000.
  for (int i = 0; i < 6; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "/s%05d.cpp", 3 * 1000 * i + 1);
    std::filesystem::remove(scratch.path() + name);
  }
  if (!press(terminal, "\x1b[D", kMainPrompt) || !press(terminal, "\x1b[C", kSourcesPrompt) ||
      !terminal.waitUntil([&] { return shows(terminal, "6 sources of the project"); }, kWaitMs))
    return fail("the missing sources were not told", terminal);
  // Backspace first in the box empties it; typing would add to the text.
  const std::vector<std::string> typeFilter = {"/", "\x7f", "s", "1", "9", "*"};
  const std::vector<std::string> clearFilter = {"/", "\x7f"};
  std::vector<std::string> filterThenClear = typeFilter;
  filterThenClear.push_back("\r");
  filterThenClear.insert(filterThenClear.end(), clearFilter.begin(), clearFilter.end());
  const auto filtered = [](const PtyTerminal& t) { return shows(t, "1000 of 20000 shown"); };
  const auto unfiltered = [](const PtyTerminal& t) {
    return !shows(t, " shown, ") && shows(t, "page 1 of");
  };
  // The first row of the project sources, blank when none is shown.
  const auto noProjectSource = [](const PtyTerminal& t) { return t.rowText(8).empty(); };
  const auto projectSources = [](const PtyTerminal& t) { return !t.rowText(8).empty(); };
  if (!timeAction(terminal, {"apply a filter (Enter)", "\r", filtered, nullptr, typeFilter}) ||
      !timeAction(terminal,
                  {"clear the filter (Enter)", "\r", unfiltered, nullptr, filterThenClear}))
    return 1;
  pressEach(terminal, typeFilter);
  pressEach(terminal, {"\r"});
  if (!timeAction(terminal, {"1,000 shown out (-)", "-", noProjectSource, nullptr, {"+"}}) ||
      !timeAction(terminal, {"1,000 shown in (+)", "+", projectSources, nullptr, {"-"}}))
    return 1;
  pressEach(terminal, clearFilter);
  pressEach(terminal, {"\r"});
  if (!timeAction(terminal, {"20,000 out (-)", "-", noProjectSource, nullptr, {"+"}}) ||
      !timeAction(terminal, {"20,000 in (+)", "+", projectSources, nullptr, {"-"}}) ||
      !timeAction(terminal,
                  {"only the missing (!)", "!",
                   [](const PtyTerminal& t) { return shows(t, "only the missing: 6 of"); },
                   "!"}))
    return 1;

  // Esc ends the run and saves nothing.
  terminal.settle(kQuietMs, kWaitMs);
  terminal.send("\x1b");
  int status = 0;
  return terminal.waitForExit(kWaitMs, status) ? 0 : fail("the program did not end", terminal);
}
