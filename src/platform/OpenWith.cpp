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
bool OpenWithXdgOpen(const std::string& Path) {
    const pid_t Child = fork();
    if (Child < 0) return false;
    if (Child == 0) {
        setsid();
        char Program[] = "xdg-open";
        char* Args[] = {Program, const_cast<char*>(Path.c_str()), nullptr};
        pid_t Launcher = 0;
        _exit(posix_spawnp(&Launcher, Program, nullptr, nullptr, Args, environ) == 0 ? 0 : 1);
    }
    int Status = 0;
    while (waitpid(Child, &Status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}

} // namespace

bool OpenWithAssociatedApplication(const std::string& Path) {
    return gOpener ? gOpener(Path) : OpenWithXdgOpen(Path);
}

TDocumentOpener SetDocumentOpener(TDocumentOpener Opener) {
    TDocumentOpener Previous = std::move(gOpener);
    gOpener = std::move(Opener);
    return Previous;
}
