// Lumora as a separate process in a real X11 window (run under Xvfb), seen from outside as a
// window manager would see it.

#include "window_design.h"

#include <gtest/gtest.h>

// After the test framework: Xlib defines macros such as None and Bool.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <array>
#include <chrono>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <utility>
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

    // A mapped top-level window with this title, polled for up to `limit`.
    std::optional<Window> waitForWindow(const std::string& wanted,
                                        std::chrono::seconds limit = 10s) const {
        const auto deadline = std::chrono::steady_clock::now() + limit;
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

    // The window's pixels as 0xRRGGBB, in its own coordinates.
    std::vector<unsigned long> pixels(Window window, int width, int height) const {
        std::vector<unsigned long> out;
        XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(width),
                                  static_cast<unsigned>(height), AllPlanes, ZPixmap);
        if (image == nullptr) {
            return out;
        }
        out.reserve(static_cast<std::size_t>(width * height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                out.push_back(XGetPixel(image, x, y) & 0xFFFFFFu);
            }
        }
        XDestroyImage(image);
        return out;
    }

    // What the close button asks of a window.
    void requestClose(Window window) const {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] =
            static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, window, False, NoEventMask, &event);
        XFlush(display_);
    }

private:
    ::Display* display_;
};

class Process {
public:
    explicit Process(const char* path) : Process(std::vector<std::string>{path}) {}
    // A program found on the PATH, with its arguments.
    explicit Process(std::vector<std::string> command) {
        std::vector<char*> argv;
        for (std::string& word : command) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        started_ = posix_spawnp(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) == 0;
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

    // The exit status, or nothing when the process is still running after `limit` or ended by a
    // signal.
    std::optional<int> waitForExit(std::chrono::seconds limit = 10s) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
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

TEST_F(RealWindow, TickerAndLampsMoveAtTheTimersPace) {
    using lumora::controlDesigns;
    using lumora::designPosition;
    constexpr int width = 466;
    constexpr int height = 352;
    const auto at = [](lumora::ControlId id) {
        const lumora::TwipRect& r = controlDesigns()[designPosition(id)].bounds;
        return std::array{r.left / 15, r.top / 15, r.width / 15, r.height / 15};
    };
    Process lumora(LUMORA_EXECUTABLE);
    ASSERT_TRUE(lumora.started());
    const auto window = display.waitForWindow(mainTitle);
    ASSERT_TRUE(window);
    std::this_thread::sleep_for(300ms);

    // Sampled until eight ticks are seen, against a deadline: a loaded machine may run the
    // program's timer late, never early, so only the pace's lower bound is a fault.
    const auto tickerBox = at(lumora::Text2(0));
    std::vector<std::chrono::steady_clock::time_point> tickerChanges;
    std::vector<unsigned long> lastTicker;
    std::vector<int> litPairs; // each change of the lit pair, as Picture1's index
    auto lastSample = std::chrono::steady_clock::now();
    const auto deadline = lastSample + 20s;
    while ((tickerChanges.size() < 8 || litPairs.size() < 8) &&
           std::chrono::steady_clock::now() < deadline) {
        const std::vector<unsigned long> screen = display.pixels(*window, width, height);
        const auto sampled = std::chrono::steady_clock::now();
        ASSERT_EQ(screen.size(), static_cast<std::size_t>(width * height));
        const auto pixel = [&](int x, int y) {
            return screen[static_cast<std::size_t>(y * width + x)];
        };
        std::vector<unsigned long> tickerPixels;
        for (int y = tickerBox[1]; y < tickerBox[1] + tickerBox[3]; ++y) {
            for (int x = tickerBox[0]; x < tickerBox[0] + tickerBox[2]; ++x) {
                tickerPixels.push_back(pixel(x, y));
            }
        }
        if (!lastTicker.empty() && tickerPixels != lastTicker) {
            tickerChanges.push_back(sampled);
        }
        lastTicker = std::move(tickerPixels);
        for (std::int16_t k = 0; k < 8; ++k) {
            const auto lamp = at(lumora::Picture1(k));
            if (pixel(lamp[0] + 4, lamp[1] + 4) != 0xC0C0FF &&
                (litPairs.empty() || litPairs.back() != k)) {
                // A sampler that fell behind sees steps at once: more than its lag allows is
                // the chase skipping or turning back.
                const auto steps = litPairs.empty() ? 1 : (k - litPairs.back() + 8) % 8;
                EXPECT_LE(steps, 1 + (sampled - lastSample) / 200ms)
                    << "the chase went from " << litPairs.back() << " to " << k;
                litPairs.push_back(k);
            }
        }
        lastSample = sampled;
        std::this_thread::sleep_for(15ms);
    }
    ASSERT_GE(tickerChanges.size(), 8u) << "the ticker stood still";
    // Seven periods of 200 ms, less the sampling's slack.
    EXPECT_GE(tickerChanges[7] - tickerChanges[0], 1300ms)
        << "the ticker ran faster than its timer";
    EXPECT_GE(litPairs.size(), 8u) << "the lamps stood still";
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

// Whose allocation a loss record is. Its first frame is the allocator itself (valgrind's
// replacement, named differently by its releases); below it, the first frame outside the C++
// standard library (whose templates and strings allocate on behalf of their caller) names the
// code that asked for the memory. A library that leaks inside itself is that library's own, even
// when our code called it; valgrind.supp names those we know of.
bool allocatedByUs(const std::string& record) {
    std::istringstream lines(record);
    std::string line;
    bool allocator = true;
    while (std::getline(lines, line)) {
        const auto frame = line.find_first_not_of(' ');
        if (frame == std::string::npos ||
            (line.compare(frame, 5, "at 0x") != 0 && line.compare(frame, 5, "by 0x") != 0)) {
            continue;
        }
        if (std::exchange(allocator, false) || line.find("/c++/") != std::string::npos ||
            line.find("/libstdc++.so") != std::string::npos) {
            continue;
        }
        return line.find("(" LUMORA_SOURCE_DIR "/") != std::string::npos ||
               line.find("(" LUMORA_BINARY_DIR "/") != std::string::npos;
    }
    return false;
}

TEST(LossRecord, IsOursWhenOurCodeAskedForTheMemory) {
    // The allocator's frame as Debian 12's valgrind and Debian 13's name it.
    const std::vector<std::string> allocators = {
        "   at 0x4846FA3: operator new(unsigned long) (in "
        "/usr/libexec/valgrind/vgpreload_memcheck-amd64-linux.so)\n",
        "   at 0x48465B3: operator new[](unsigned long) "
        "(coregrind/m_replacemalloc/vg_replace_malloc.c:729)\n"};
    const std::string ours = "   by 0x1234: lumora::QtPlatform::QtPlatform(int&, char**) (" +
                             std::string(LUMORA_SOURCE_DIR) + "/window/qt/qt_platform.cpp:29)\n";
    for (const std::string& allocator : allocators) {
        EXPECT_TRUE(allocatedByUs(allocator + ours));
        EXPECT_TRUE(allocatedByUs(allocator +
                                  "   by 0x1111: std::vector<int>::_M_realloc_insert "
                                  "(/usr/include/c++/14/bits/vector.tcc:459)\n" +
                                  ours));
        // Qt 6.8's D-Bus watcher, made inside QApplication's constructor that our code called.
        EXPECT_FALSE(
            allocatedByUs(allocator +
                          "   by 0x5B1C2A3: QObject::QObject(QObject*) (in "
                          "/usr/lib/x86_64-linux-gnu/libQt6Core.so.6.8.2)\n"
                          "   by 0x5C00000: QGenericUnixServices::QGenericUnixServices() (in "
                          "/usr/lib/x86_64-linux-gnu/libQt6Gui.so.6.8.2)\n" +
                          ours));
    }
}

// Ten seconds of the real program under valgrind's memcheck, closed as a user closes it: no
// block that our own code allocated is lost, directly or through another. Qt, fontconfig and
// the X libraries keep some allocations for the life of the process, some of them made while our
// code called them; only the blocks our code allocated count.
TEST_F(RealWindow, MemcheckFindsNoLeakOfOurs) {
    const std::string log = testing::TempDir() + "lumora-memcheck.log";
    Process lumora({"valgrind", "--leak-check=full", "--show-leak-kinds=definite,indirect",
                    "--fullpath-after=", "--suppressions=" LUMORA_SOURCE_DIR "/tests/valgrind.supp",
                    "--log-file=" + log, LUMORA_EXECUTABLE});
    ASSERT_TRUE(lumora.started());
    const auto window = display.waitForWindow(mainTitle, 120s);
    ASSERT_TRUE(window) << "no window titled " << mainTitle;
    std::this_thread::sleep_for(10s);
    display.requestClose(*window);
    ASSERT_EQ(lumora.waitForExit(120s), 0);

    std::ifstream report(log);
    ASSERT_TRUE(report) << log;
    std::string line;
    std::string record;
    bool lost = false;
    bool summary = false;
    std::vector<std::string> ours;
    while (std::getline(report, line)) {
        const std::string text = line.substr(std::min(line.find(' ') + 1, line.size()));
        if (text.find("LEAK SUMMARY") != std::string::npos) {
            summary = true;
        }
        if (text.find("are definitely lost") != std::string::npos ||
            text.find("are indirectly lost") != std::string::npos) {
            lost = true;
            record.clear();
        }
        if (!lost) {
            continue;
        }
        if (text.empty()) {
            if (allocatedByUs(record)) {
                ours.push_back(record);
            }
            lost = false;
        }
        record += text + "\n";
    }
    EXPECT_TRUE(summary) << "memcheck wrote no leak summary to " << log;
    EXPECT_TRUE(ours.empty()) << ours.size() << " loss records of ours, the first:\n"
                              << (ours.empty() ? "" : ours.front());
}
