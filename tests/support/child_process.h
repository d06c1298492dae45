// Runs a piece of a test in a child process, for what would change or end
// the test process itself: signals, limits, another user.
#ifndef CORVANE_TESTS_SUPPORT_CHILD_PROCESS_H
#define CORVANE_TESTS_SUPPORT_CHILD_PROCESS_H

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace corvane {

// What inChild gives for a child that a signal ended: this plus the signal.
inline constexpr int kSignalled = 1000;

// What `body` returns when run in a child process, or kSignalled plus the
// signal that ended the child.
inline int inChild(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(body());
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : kSignalled + WTERMSIG(status);
}

}  // namespace corvane

#endif  // CORVANE_TESTS_SUPPORT_CHILD_PROCESS_H
