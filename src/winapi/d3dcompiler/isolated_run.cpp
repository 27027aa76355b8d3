#include "winapi/d3dcompiler/isolated_run.h"

#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>

namespace halvo::d3dcompiler {
namespace {

// Messages on the connection: a 64-bit length, then the bytes. MSG_NOSIGNAL:
// a child that has died gives an error, never a SIGPIPE.
bool SendAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t count = send(fd, data, size, MSG_NOSIGNAL);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        data += count;
        size -= static_cast<size_t>(count);
    }
    return true;
}

bool ReceiveAll(int fd, char* data, size_t size)
{
    while (size > 0) {
        const ssize_t count = recv(fd, data, size, 0);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        data += count;
        size -= static_cast<size_t>(count);
    }
    return true;
}

bool SendMessage(int fd, const std::string& message)
{
    const uint64_t length = message.size();
    return SendAll(fd, reinterpret_cast<const char*>(&length), sizeof length) &&
           SendAll(fd, message.data(), message.size());
}

bool ReceiveMessage(int fd, std::string& message)
{
    constexpr uint64_t kLongestMessage = uint64_t(1) << 32;
    uint64_t length = 0;
    if (!ReceiveAll(fd, reinterpret_cast<char*>(&length), sizeof length) || length > kLongestMessage) return false;
    message.resize(length);
    return ReceiveAll(fd, message.data(), message.size());
}

}  // namespace

IsolatedWorker::~IsolatedWorker() { Stop(); }

IsolatedOutcome IsolatedWorker::Run(const std::string& request)
{
    IsolatedOutcome outcome;
    if (child_ < 0 && !Start()) return outcome;
    if (SendMessage(connection_, request) && ReceiveMessage(connection_, outcome.answer)) {
        outcome.finished = true;
        return outcome;
    }
    outcome.answer.clear();
    outcome.signal = Stop();
    return outcome;
}

bool IsolatedWorker::Start()
{
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return false;
    const pid_t child = fork();
    if (child < 0) {
        close(ends[0]);
        close(ends[1]);
        return false;
    }
    if (child == 0) {
        close(ends[0]);
        Serve(ends[1]);
    }
    close(ends[1]);
    child_ = child;
    connection_ = ends[0];
    return true;
}

int IsolatedWorker::Stop()
{
    if (child_ < 0) return 0;
    close(connection_);
    int status = 0;
    while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {}
    child_ = -1;
    connection_ = -1;
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

void IsolatedWorker::Serve(int connection)
{
    // A fault ends the child at once with its signal: handlers of the parent
    // (crash reporters, sanitizers) would report it as the parent's own.
    for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP}) signal(fault, SIG_DFL);
    std::string request;
    while (ReceiveMessage(connection, request)) {
        if (!SendMessage(connection, work_(request))) break;
    }
    // _exit: the child must not run the parent's exit handlers.
    _exit(0);
}

}  // namespace halvo::d3dcompiler
