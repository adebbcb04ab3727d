#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

// The program under test (VELTMARK_BINARY), started as one of its engine faces with both pipes
// held by the test: the test writes commands, waits for the lines it expects and finally sees
// how the program ended.
class EngineProcess {
    using Clock = std::chrono::steady_clock;

public:
    // The face's option: "--xboard" or "--uci".
    explicit EngineProcess(const char* face) {
        ::signal(SIGPIPE, SIG_IGN);
        int toChild[2];
        int fromChild[2];
        if (::pipe(toChild) != 0 || ::pipe(fromChild) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(toChild[0], 0);
            ::dup2(fromChild[1], 1);
            ::close(toChild[0]);
            ::close(toChild[1]);
            ::close(fromChild[0]);
            ::close(fromChild[1]);
            ::execl(VELTMARK_BINARY, VELTMARK_BINARY, face, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(toChild[0]);
        ::close(fromChild[1]);
        input_ = toChild[1];
        output_ = fromChild[0];
    }

    ~EngineProcess() {
        closeInput();
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (output_ >= 0) {
            ::close(output_);
        }
    }

    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    bool started() const { return pid_ > 0 && input_ >= 0; }

    void send(const std::string& text) {
        const char* p = text.data();
        std::size_t left = text.size();
        while (left > 0 && input_ >= 0) {
            const ssize_t n = ::write(input_, p, left);
            if (n <= 0) {
                return;
            }
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }

    void closeInput() {
        if (input_ >= 0) {
            ::close(input_);
            input_ = -1;
        }
    }

    // Reads until a line satisfies the test; false when the time is up or the output ended.
    bool waitFor(const std::function<bool(const std::string&)>& test, int timeoutMs = 20000) {
        for (std::size_t i = checked_; i < lines.size(); ++i) {
            if (test(lines[i])) {
                checked_ = i + 1;
                return true;
            }
        }
        checked_ = lines.size();
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (readSome(deadline)) {
            for (; checked_ < lines.size(); ++checked_) {
                if (test(lines[checked_])) {
                    ++checked_;
                    return true;
                }
            }
        }
        return false;
    }

    bool waitForLine(const std::string& line, int timeoutMs = 20000) {
        return waitFor([&](const std::string& l) { return l == line; }, timeoutMs);
    }

    // Closes the input, collects the remaining output and returns the exit status, or -1 when
    // the program had not ended within the time.
    int finish(int timeoutMs = 20000) {
        closeInput();
        return waitForExit(timeoutMs);
    }

    // The same with the input left open: the program has to end by itself.
    int waitForExit(int timeoutMs) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (readSome(deadline)) {
        }
        return waitExit(deadline);
    }

    std::vector<std::string> lines;

private:
    bool readSome(Clock::time_point deadline) {
        if (output_ < 0) {
            return false;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return false;
        }
        pollfd fd{output_, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left)) <= 0) {
            return false;
        }
        char buffer[4096];
        const ssize_t n = ::read(output_, buffer, sizeof buffer);
        if (n <= 0) {
            ::close(output_);
            output_ = -1;
            return false;
        }
        partial_.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = partial_.find('\n')) != std::string::npos;) {
            lines.push_back(partial_.substr(0, end));
            partial_.erase(0, end + 1);
        }
        return true;
    }

    int waitExit(Clock::time_point deadline) {
        while (Clock::now() < deadline) {
            int status = 0;
            const pid_t r = ::waitpid(pid_, &status, WNOHANG);
            if (r == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            ::usleep(2000);
        }
        return -1;
    }

    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
    bool exited_ = false;
    std::size_t checked_ = 0;
    std::string partial_;
};
