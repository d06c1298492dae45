#include "support/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace corvane::e2e {

namespace {

long long nowMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

[[noreturn]] void runChild(const std::string& program, const RunOptions& options, int inputFd,
                           int outputFd, int errorFd) {
  dup2(inputFd, 0);
  dup2(outputFd, 1);
  dup2(errorFd, 2);
  if (chdir(options.directory.c_str()) != 0) _exit(126);
  for (const auto& [name, value] : options.environment) setenv(name.c_str(), value.c_str(), 1);
  if (options.fileSizeLimit >= 0) {
    // A user's `ulimit -f`: SIGXFSZ keeps its default action, which would
    // end the program unless it sees to a write past the limit failing.
    signal(SIGXFSZ, SIG_DFL);
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(options.fileSizeLimit);
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  std::vector<char*> argv;
  if (!options.launcher.empty()) {
    argv.push_back(const_cast<char*>(options.launcher.c_str()));
    argv.push_back(const_cast<char*>(program.c_str()));
  } else {
    argv.push_back(
        const_cast<char*>(options.argv0.empty() ? program.c_str() : options.argv0.c_str()));
  }
  for (const std::string& argument : options.arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  if (options.launcher.empty()) {
    execv(program.c_str(), argv.data());
  } else {
    execvp(options.launcher.c_str(), argv.data());
  }
  _exit(127);
}

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

ProgramUnderTest programUnderTest(const std::string& built) {
  ProgramUnderTest under{environmentValue("CORVANE_LAUNCHER"), environmentValue("CORVANE_PROGRAM")};
  if (under.program.empty()) under.program = built;
  return under;
}

RunResult runProgram(const std::string& program, const RunOptions& options) {
  RunResult result;
  int pipes[3][2];  // standard input, output and error
  for (int i = 0; i < 3; ++i) {
    if (pipe(pipes[i]) == 0) continue;
    for (int j = 0; j < i; ++j) {
      close(pipes[j][0]);
      close(pipes[j][1]);
    }
    return result;
  }
  int (&input)[2] = pipes[0];
  int (&output)[2] = pipes[1];
  int (&errors)[2] = pipes[2];
  const pid_t child = fork();
  if (child == 0) {
    close(input[1]);
    close(output[0]);
    close(errors[0]);
    runChild(program, options, input[0], output[1], errors[1]);
  }
  close(input[0]);
  close(output[1]);
  close(errors[1]);
  if (child < 0) {
    close(input[1]);
    close(output[0]);
    close(errors[0]);
    return result;
  }

  // Feed the keys and collect both outputs together, so that no side can
  // block another; a program that stops reading early only closes its end.
  signal(SIGPIPE, SIG_IGN);
  std::size_t written = 0;
  int inputFd = input[1];
  if (options.input.empty()) {
    close(inputFd);
    inputFd = -1;
  } else {
    fcntl(inputFd, F_SETFL, O_NONBLOCK);
  }
  const long long deadline = nowMilliseconds() + options.timeoutSeconds * 1000LL;
  int readFds[2] = {output[0], errors[0]};
  std::string* texts[2] = {&result.output, &result.errors};
  while (readFds[0] >= 0 || readFds[1] >= 0) {
    const long long left = deadline - nowMilliseconds();
    if (left <= 0) {
      result.timedOut = true;
      kill(child, SIGKILL);
      break;
    }
    // A closed descriptor (-1) is skipped by poll.
    pollfd fds[3] = {{readFds[0], POLLIN, 0}, {readFds[1], POLLIN, 0}, {inputFd, POLLOUT, 0}};
    const int count = poll(fds, 3, static_cast<int>(left));
    if (count < 0 && errno != EINTR) break;
    for (int i = 0; i < 2; ++i) {
      if (readFds[i] < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buffer[4096];
      const ssize_t n = read(readFds[i], buffer, sizeof buffer);
      if (n > 0) {
        texts[i]->append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(readFds[i]);
        readFds[i] = -1;
      }
    }
    if (inputFd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
      const ssize_t n = write(inputFd, options.input.data() + written,
                              options.input.size() - written);
      if (n > 0) written += static_cast<std::size_t>(n);
      if (n < 0 && errno != EAGAIN && errno != EINTR) written = options.input.size();
      if (written == options.input.size()) {
        close(inputFd);
        inputFd = -1;
      }
    }
  }
  if (inputFd >= 0) close(inputFd);
  for (int fd : readFds)
    if (fd >= 0) close(fd);

  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  return result;
}

}  // namespace corvane::e2e
