// The one object through which the program uses the screen: the seven fixed
// windows, the window stack, the banners, the usage screen and the boxes.
#ifndef CORVANE_UI_CORVANE_SCREEN_H
#define CORVANE_UI_CORVANE_SCREEN_H

#include <string>
#include <vector>

#include "console/console.h"
#include "text/text_utils.h"
#include "ui/line_editor.h"
#include "ui/text_window.h"

namespace corvane {

// The answer to a yes-or-no question.
enum class Answer { kYes, kNo, kEsc };

// Byte 196 of code page 437: the horizontal line of the screens' rules.
inline constexpr char kLineCharacter = static_cast<char>(196);

// The usage screen's text as plain lines, for standard output where no
// screen is drawn: without its indent, trailing blanks and the closing
// line that asks for a key.
List usageLines();

// Whoever makes the screen tears it down, once: the destructor leaves the
// whole console blank however the run ends.
class CorvaneScreen {
 public:
  explicit CorvaneScreen(Console& console);
  ~CorvaneScreen();  // destroys the screen if that has not happened yet
  CorvaneScreen(const CorvaneScreen&) = delete;
  CorvaneScreen& operator=(const CorvaneScreen&) = delete;

  void push(TextWindow& window);
  void pop();
  void repaint();

  void showTitle();
  void openWorkspace();
  void showUsage();  // returns when a key is pending, leaving it unread

  Answer askYesNo(const List& lines, bool defaultYes);
  // On Enter value holds the new text; on Esc it is unchanged.
  EditResult askText(std::string& value, const List& lines, const std::string& label,
                     const std::string& initial);
  // The code of the key pressed.
  int showError(const List& lines, const std::string& prompt);
  // Shows the lines with "Press any key.. " and waits for a key; the box
  // stays, since the run ends with exit status 1 after it.
  void fatalError(const List& lines);

  // Leaves the whole screen blank, white on black; only the first call acts.
  void destroy();
  bool destroyed() const { return destroyed_; }

  Console& console() { return *console_; }
  TextWindow& background() { return background_; }
  TextWindow& banner() { return banner_; }
  TextWindow& mainWorkspace() { return mainWorkspace_; }
  TextWindow& advancedWorkspace() { return advancedWorkspace_; }
  const std::vector<TextWindow*>& stack() const { return stack_; }

 private:
  Console* console_;
  std::vector<TextWindow*> stack_;
  TextWindow background_;
  TextWindow title_;
  TextWindow banner_;
  TextWindow mainWorkspace_;
  TextWindow advancedWorkspace_;
  TextWindow errorBox_;
  TextWindow queryBox_;
  bool destroyed_ = false;
};

}  // namespace corvane

#endif  // CORVANE_UI_CORVANE_SCREEN_H
