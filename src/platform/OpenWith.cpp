#include "platform/OpenWith.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

TDocumentOpener gOpener;

// Without a desktop session object to ask, the desktop's own launcher opens the file. It is
// started from a short-lived child so that it is never left behind as a zombie of ours.
bool OpenWithXdgOpen(const std::string& path) {
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        setsid();
        char program[] = "xdg-open";
        char* args[] = {program, const_cast<char*>(path.c_str()), nullptr};
        pid_t launcher = 0;
        _exit(posix_spawnp(&launcher, program, nullptr, nullptr, args, environ) == 0 ? 0 : 1);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

bool OpenWithAssociatedApplication(const std::string& path) {
    return gOpener ? gOpener(path) : OpenWithXdgOpen(path);
}

TDocumentOpener SetDocumentOpener(TDocumentOpener opener) {
    TDocumentOpener previous = std::move(gOpener);
    gOpener = std::move(opener);
    return previous;
}
