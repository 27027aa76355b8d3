// Work that may end its process, run in a child process of its own.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

namespace halvo::d3dcompiler {

struct IsolatedOutcome {
    bool finished = false;  // the work returned and its answer came back whole
    int signal = 0;         // the signal that ended the child, 0 when none did
    std::string answer;     // what the work returned
};

// A child process that runs the work on one request at a time and sends back
// its answer. It is forked at the first request and serves the next ones
// too; a fault in the work (a crash in a library it calls) ends the child
// only, and the request after that forks a new one. The child lives on a copy
// of the process as it was when forked, so everything the work needs besides
// the request must exist by then, and no other thread may hold a lock that
// the work takes. Not for use by two threads at once.
class IsolatedWorker {
public:
    using Work = std::function<std::string(const std::string& request)>;

    explicit IsolatedWorker(Work work) : work_(std::move(work)) {}
    // Closes the connection; the child ends when it sees that.
    ~IsolatedWorker();
    IsolatedWorker(const IsolatedWorker&) = delete;
    IsolatedWorker& operator=(const IsolatedWorker&) = delete;

    IsolatedOutcome Run(const std::string& request);

private:
    bool Start();
    // Closes the connection and waits for the child; its end signal, or 0.
    int Stop();
    [[noreturn]] void Serve(int connection);

    Work work_;
    pid_t child_ = -1;
    int connection_ = -1;  // this side of the socket pair with the child
};

}  // namespace halvo::d3dcompiler
