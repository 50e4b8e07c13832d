// The SDL2 backend's modal error box, shown from a child process so that a signal can end it.
#include <SDL2/SDL.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/platform.h"

namespace {

constexpr long kAbandonPollNanoseconds = 20L * 1000L * 1000L;

// SDL's box blocks until it is answered and, on X11, draws from a process of its own that
// nobody else can reach. Running it inside our own child, in a process group of its own, lets
// the shell take the whole box down when it has to end while the box is still showing.
void showBoxAndExit(const char* text) {
    setpgid(0, 0);
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Error", text, nullptr) != 0) {
        std::fprintf(stderr, "Error: %s\n", text); // no way to show a box: say it at least here
    }
    _exit(0);
}

void sleepBriefly() {
    timespec pause{0, kAbandonPollNanoseconds};
    nanosleep(&pause, nullptr);
}

} // namespace

void platformShowErrorBox(const char* text, bool (*abandon)()) {
    std::fflush(nullptr); // the child must not write out our buffered output a second time
    const pid_t child = fork();
    if (child < 0) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Error", text, nullptr);
        return;
    }
    if (child == 0) {
        showBoxAndExit(text);
    }
    setpgid(child, child); // also here, so the group exists whichever of us runs first
    for (;;) {
        int status = 0;
        const pid_t finished = waitpid(child, &status, WNOHANG);
        if (finished == child || (finished < 0 && errno != EINTR)) {
            return;
        }
        if (abandon != nullptr && abandon()) {
            kill(-child, SIGKILL);
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
            return;
        }
        sleepBriefly();
    }
}
