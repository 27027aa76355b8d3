#include "winapi/d3dcompiler/isolated_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace halvo::d3dcompiler {
namespace {

bool WriteAll(int fd, const std::string& bytes) {
  for (size_t written = 0; written < bytes.size();) {
    const ssize_t count = write(fd, bytes.data() + written, bytes.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<size_t>(count);
  }
  return true;
}

}  // namespace

IsolatedOutcome RunIsolated(const std::function<std::string()>& work) {
  IsolatedOutcome outcome;
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return outcome;
  const pid_t child = fork();
  if (child < 0) {
    close(ends[0]);
    close(ends[1]);
    return outcome;
  }
  if (child == 0) {
    close(ends[0]);
    // A fault ends the child at once with its signal: handlers of the parent
    // (crash reporters, sanitizers) would report it as the parent's own.
    for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP}) signal(fault, SIG_DFL);
    // _exit: the child must not run the parent's exit handlers.
    _exit(WriteAll(ends[1], work()) ? 0 : 1);
  }
  close(ends[1]);
  char buffer[64 * 1024];
  while (true) {
    const ssize_t count = read(ends[0], buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    outcome.answer.append(buffer, static_cast<size_t>(count));
  }
  close(ends[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  outcome.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return outcome;
}

}  // namespace halvo::d3dcompiler
