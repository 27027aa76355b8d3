// An X server of the test's own: Xvfb on a display number it picks itself
// (it tells which through a pipe, so test programs run at the same time never
// collide), stopped when the object goes away. Tests that need a display
// start one and skip, saying why, when it cannot be had.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

class XvfbDisplay {
public:
    // The screen size a test may rely on.
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 720;

    XvfbDisplay()
    {
        int ends[2];
        if (pipe(ends) != 0) {
            failure_ = std::string("no pipe for Xvfb: ") + std::strerror(errno);
            return;
        }
        fcntl(ends[0], F_SETFD, FD_CLOEXEC);
        const std::string displayFd = std::to_string(ends[1]);
        const std::string screen = std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24";
        std::vector<std::string> words = {"Xvfb", "-displayfd", displayFd, "-screen", "0", screen, "-nolisten", "tcp"};
        std::vector<char*> arguments;
        for (std::string& word : words) arguments.push_back(word.data());
        arguments.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        // The server's own chatter would only clutter the test's output.
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        const int spawned = posix_spawnp(&server_, "Xvfb", &actions, nullptr, arguments.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(ends[1]);
        if (spawned != 0) {
            server_ = 0;
            failure_ = std::string("Xvfb cannot be started (") + std::strerror(spawned) + "); is it installed?";
            close(ends[0]);
            return;
        }
        name_ = ReadDisplayNumber(ends[0]);
        close(ends[0]);
        if (name_.empty()) {
            failure_ = "Xvfb started but named no display within 10 seconds";
            Stop();
        }
    }

    ~XvfbDisplay() { Stop(); }

    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;

    bool Started() const { return !name_.empty(); }
    // ":<n>", the value for DISPLAY.
    const std::string& Name() const { return name_; }
    const std::string& Failure() const { return failure_; }

private:
    // The number Xvfb writes once it accepts connections, as ":<n>"; empty when it never does.
    static std::string ReadDisplayNumber(int fd)
    {
        std::string digits;
        pollfd wait{fd, POLLIN, 0};
        while (poll(&wait, 1, 10000) > 0) {
            char c;
            if (read(fd, &c, 1) != 1) break;
            if (c == '\n') return digits.empty() ? "" : ":" + digits;
            digits.push_back(c);
        }
        return "";
    }

    void Stop()
    {
        if (server_ <= 0) return;
        kill(server_, SIGTERM);
        int status;
        waitpid(server_, &status, 0);
        server_ = 0;
    }

    pid_t server_ = 0;
    std::string name_;
    std::string failure_;
};

// One server for the whole test program, started on first use; from then on
// DISPLAY names it, so windows made afterwards are real ones on it.
inline XvfbDisplay& ProgramXvfbDisplay()
{
    static XvfbDisplay display;
    if (display.Started()) setenv("DISPLAY", display.Name().c_str(), 1);
    return display;
}
