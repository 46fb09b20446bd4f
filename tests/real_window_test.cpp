// Lumora as a separate process in a real X11 window (run under Xvfb), seen from outside as a
// window manager would see it.

#include <gtest/gtest.h>

// After the test framework: Xlib defines macros such as None and Bool.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

const std::string mainTitle = "lumora.example ИТ - светлинна реклама и текст";

class XConnection {
public:
    XConnection() : display_(XOpenDisplay(nullptr)) {}
    ~XConnection() {
        if (display_ != nullptr) {
            XCloseDisplay(display_);
        }
    }
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    ::Display* get() const { return display_; }

    std::string title(Window window) const {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        std::string text;
        if (XGetWindowProperty(display_, window, XInternAtom(display_, "_NET_WM_NAME", False), 0,
                               1024, False, XInternAtom(display_, "UTF8_STRING", False), &type,
                               &format, &count, &remaining, &data) == Success &&
            data != nullptr) {
            text.assign(reinterpret_cast<char*>(data), count);
            XFree(data);
        }
        return text;
    }

    // A mapped top-level window with this title, polled for up to ten seconds.
    std::optional<Window> waitForWindow(const std::string& wanted) const {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (std::chrono::steady_clock::now() < deadline) {
            Window root = 0;
            Window parent = 0;
            Window* children = nullptr;
            unsigned int count = 0;
            XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count);
            std::optional<Window> found;
            for (unsigned int i = 0; i < count && !found; ++i) {
                XWindowAttributes attributes;
                if (XGetWindowAttributes(display_, children[i], &attributes) != 0 &&
                    attributes.map_state == IsViewable && title(children[i]) == wanted) {
                    found = children[i];
                }
            }
            if (children != nullptr) {
                XFree(children);
            }
            if (found) {
                return found;
            }
            std::this_thread::sleep_for(50ms);
        }
        return std::nullopt;
    }

    // What the close button asks of a window.
    void requestClose(Window window) const {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, window, False, NoEventMask, &event);
        XFlush(display_);
    }

private:
    ::Display* display_;
};

class Process {
public:
    explicit Process(const char* path) {
        char* argv[] = {const_cast<char*>(path), nullptr};
        started_ = posix_spawn(&pid_, path, nullptr, nullptr, argv, environ) == 0;
    }
    ~Process() {
        if (started_ && !status_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return started_; }

    // The exit status, or nothing when the process is still running after ten seconds or ended
    // by a signal.
    std::optional<int> waitForExit() {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (std::chrono::steady_clock::now() < deadline) {
            int raw = 0;
            if (waitpid(pid_, &raw, WNOHANG) == pid_) {
                status_ = raw;
                if (WIFEXITED(raw)) {
                    return WEXITSTATUS(raw);
                }
                return std::nullopt;
            }
            std::this_thread::sleep_for(20ms);
        }
        return std::nullopt;
    }

private:
    pid_t pid_ = 0;
    bool started_ = false;
    std::optional<int> status_;
};

class RealWindow : public testing::Test {
protected:
    void SetUp() override { ASSERT_NE(display.get(), nullptr) << "no X display (run under Xvfb)"; }
    XConnection display;
};

TEST_F(RealWindow, HasFixedSizeAndTitleAndClosesWithStatusZero) {
    Process lumora(LUMORA_EXECUTABLE);
    ASSERT_TRUE(lumora.started());
    const auto window = display.waitForWindow(mainTitle);
    ASSERT_TRUE(window) << "no window titled " << mainTitle;

    XSizeHints hints{};
    long supplied = 0;
    ASSERT_NE(XGetWMNormalHints(display.get(), *window, &hints, &supplied), 0);
    ASSERT_TRUE(hints.flags & PMinSize);
    ASSERT_TRUE(hints.flags & PMaxSize);
    EXPECT_EQ(hints.min_width, 466);
    EXPECT_EQ(hints.min_height, 352);
    EXPECT_EQ(hints.max_width, hints.min_width);
    EXPECT_EQ(hints.max_height, hints.min_height);

    display.requestClose(*window);
    EXPECT_EQ(lumora.waitForExit(), 0);
}

TEST_F(RealWindow, RuntimeErrorShowsMessageBoxThenEndsWithNonZeroStatus) {
    Process failing(FAILING_LUMORA_EXECUTABLE);
    ASSERT_TRUE(failing.started());
    ASSERT_TRUE(display.waitForWindow(mainTitle));
    const auto box = display.waitForWindow("Lumora");
    ASSERT_TRUE(box) << "no message box";

    display.requestClose(*box); // dismisses the box, as its OK button would
    const std::optional<int> status = failing.waitForExit();
    ASSERT_TRUE(status) << "the process did not end by itself";
    EXPECT_NE(*status, 0);
}

} // namespace
