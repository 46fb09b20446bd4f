// How an on-screen toolkit hands events to the handlers, with no screen: an error from an event
// of the user or the clock ends the program once, and nothing reaches the handlers after it; a
// Click raised by a program write runs inside the write, and its error travels to the writer.

#include "control_names.h"
#include "event_dispatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumora {
namespace {

// Handlers that log what reaches them, fail where told, and write to a list from a tick as the
// window's own handlers do.
struct LoggingHandlers final : EventHandlers {
    explicit LoggingHandlers(EventDispatch& dispatch) : dispatch(dispatch) {}

    void load() override { log.push_back("Load"); }
    void timer(std::string_view name) override {
        log.push_back(std::string(name));
        if (name == Timer1.name) {
            try {
                dispatch.programClick(List1(0)); // as a ListIndex write from the handler
            } catch (const RuntimeError& error) {
                log.push_back("the writer caught " + std::to_string(error.number()));
                throw;
            }
        }
    }
    void click(std::string_view name, std::int16_t index) override {
        log.push_back(controlName({name, index}));
        if (failClicks) {
            throw RuntimeError::divisionByZero();
        }
    }

    EventDispatch& dispatch;
    std::vector<std::string> log;
    bool failClicks = false;
};

struct Dispatch : testing::Test {
    std::vector<int> failures;
    EventDispatch dispatch{
        [this](const RuntimeError& error) { failures.push_back(error.number()); }};
    LoggingHandlers handlers{dispatch};
};

TEST_F(Dispatch, NothingIsDeliveredBeforeLoadBindsTheHandlers) {
    dispatch.timer(Timer2.name);
    dispatch.userClick(Option1(0));
    dispatch.programClick(List1(1));
    dispatch.load(handlers);
    EXPECT_EQ(handlers.log, std::vector<std::string>{"Load"});
}

TEST_F(Dispatch, AnErrorInAProgramClickReachesTheWriterAndEndsTheProgramOnce) {
    dispatch.load(handlers);
    handlers.failClicks = true;
    testing::internal::CaptureStderr();
    dispatch.timer(Timer1.name);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("11"), std::string::npos) << report;
    EXPECT_EQ(failures, std::vector<int>{RuntimeError::DivisionByZero});
    EXPECT_TRUE(dispatch.failed());

    handlers.failClicks = false;
    dispatch.timer(Timer2.name);
    dispatch.userClick(Option1(1));
    EXPECT_EQ(handlers.log,
              (std::vector<std::string>{"Load", controlName(Timer1), controlName(List1(0)),
                                        "the writer caught 11"}));
    EXPECT_EQ(failures.size(), 1u);
}

TEST_F(Dispatch, AnErrorInAUserClickEndsTheProgram) {
    dispatch.load(handlers);
    handlers.failClicks = true;
    testing::internal::CaptureStderr();
    dispatch.userClick(List1(1));
    testing::internal::GetCapturedStderr();
    dispatch.userClick(List1(1));
    EXPECT_EQ(handlers.log, (std::vector<std::string>{"Load", controlName(List1(1))}));
    EXPECT_EQ(failures, std::vector<int>{RuntimeError::DivisionByZero});
}

} // namespace
} // namespace lumora
