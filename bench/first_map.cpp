// Start-up as another X client sees it: starts a program and prints the nanoseconds from its
// start to the first MapNotify of a top-level window, then ends it.
//   first_map PROGRAM [ARGUMENT...]      (on the display in $DISPLAY)

#include <X11/Xlib.h>

#include <csignal>
#include <cstdio>
#include <ctime>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long long nowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: first_map PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("first_map: cannot open the display\n", stderr);
        return 1;
    }
    // Top-level windows are children of the root: their mapping is a substructure event of it.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const long long start = nowNs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror("first_map: exec");
        _exit(127);
    }
    constexpr long long limitNs = 30'000'000'000LL;
    long long mapped = -1;
    while (mapped < 0 && nowNs() - start < limitNs) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                mapped = nowNs() - start;
                break;
            }
        }
        pollfd wait{ConnectionNumber(display), POLLIN, 0};
        poll(&wait, 1, 10);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (mapped < 0) {
        std::fputs("first_map: no window was mapped within 30 s\n", stderr);
        return 1;
    }
    std::printf("%lld\n", mapped);
    return 0;
}
