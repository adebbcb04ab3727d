#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs `body` in a child process whose files cannot grow past `bytes`, so that a write past the
// limit fails as one on a full disk does. SIGXFSZ is ignored there, as the program ignores it.
// Returns what `body` returned, or -1 when the child did not end normally. Gtest assertions in
// `body` do not reach the parent: it reports through its result.
inline int underFileSizeLimit(rlim_t bytes, const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        ::_exit(::setrlimit(RLIMIT_FSIZE, &limit) == 0 ? body() : 126);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
