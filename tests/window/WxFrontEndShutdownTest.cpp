// The window front end at its edges: no display, and shutting down while other threads wait
// for the window thread. Each test starts the toolkit itself, so they live apart from the
// other front-end tests.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/MessageBox.h"
#include "platform/ui/WindowFrontEnd.h"
#include "tests/window/XvfbDisplay.h"

using namespace platform::ui;
using window_tests::XvfbDisplay;

namespace {

char programName[] = "window_shutdown_tests";

TEST(WxFrontEndShutdownTest, WithoutADisplayThereIsNoFrontEndAndAReason) {
    std::string saved = std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    char* argv[] = {programName, nullptr};
    int argc = 1;
    std::string whyNot;
    testing::internal::CaptureStderr();
    auto frontEnd = makeWindowFrontEnd(argc, argv, whyNot);
    testing::internal::GetCapturedStderr();
    if (!saved.empty()) ::setenv("DISPLAY", saved.c_str(), 1);
    EXPECT_EQ(frontEnd, nullptr);
    EXPECT_NE(whyNot.find("DISPLAY"), std::string::npos) << whyNot;
}

TEST(WxFrontEndShutdownTest, ThreadsWaitingForTheWindowThreadAreLetGoWhenItEnds) {
    XvfbDisplay display;
    ASSERT_TRUE(display.running()) << display.error();
    char* argv[] = {programName, nullptr};
    int argc = 1;
    std::string whyNot;
    auto frontEnd = makeWindowFrontEnd(argc, argv, whyNot);
    ASSERT_NE(frontEnd, nullptr) << whyNot;

    FrontEnd* ui = frontEnd.get();
    std::atomic<bool> ran{false};
    std::atomic<int> boxAnswer{0};
    // No loop runs on the window thread: both wait until the front end goes away.
    std::thread request([&] { ui->runOnWindowThread([&] { ran = true; }); });
    std::thread box([&] {
        boxAnswer = ui->messageBox(NoWindow, L"Transfer failed", L"Error", platform::MessageBoxType::Ok);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    testing::internal::CaptureStderr();
    frontEnd.reset();
    request.join();
    box.join();
    std::string said = testing::internal::GetCapturedStderr();

    EXPECT_FALSE(ran) << "work ran on a thread that is not the window thread";
    EXPECT_EQ(boxAnswer, platform::IdOk);
    // The box could not be shown any more; its text still reaches the user.
    EXPECT_NE(said.find("Error: Transfer failed"), std::string::npos) << said;
}

}  // namespace
