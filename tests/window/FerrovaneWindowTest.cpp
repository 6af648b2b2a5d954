// Ferrovane on the real window, on a private X server, against the simulated receiver: the
// warning box, then the dialog of template 102 with every control where and as it should be,
// a screenshot of each, and the ways a user closes it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

#include "tests/support/ChildProcess.h"
#include "tests/support/SimProcess.h"
#include "tests/window/ControlTreeDump.h"
#include "tests/window/XvfbDisplay.h"

using namespace window_tests;
namespace fs = std::filesystem;

namespace {

const char* const WarningText =
    "In order to upgrade the GPS-Firmware correctly, please stop ALL applications and apply external power to the "
    "device. It may take 5 minutes for upgrading.";
const char* const ReceiverVersion = "2.3.2.01.07";

struct ExpectedControl {
    int id;
    const char* kind;
    const char* text;
    bool shown;  // hidden controls are disabled too, shown ones enabled
};

// Template 102 in template order, as the dialog stands once its initialisation is over.
const ExpectedControl expectedControls[] = {
    {1002, "button", "LoaderFile", false},
    {1003, "edit", "", false},
    {1008, "button", "Update", true},
    {1009, "static", "Status:", true},
    {1010, "static", "Ready", true},
    {1007, "button", "Target File", false},
    {1001, "edit", "", false},
    {1013, "progress", "", true},
    {1015, "button", "F/W Version", false},
    {1017, "combo", "COM2", false},
    {-1, "static", "The new version after upgrade:", true},
    {1021, "button", "Repair", false},
    {-1, "static", "Current Firmware version:", true},
    {-1, "static", "Please select the file to update:", false},
    {-1, "static", "Version1.0", true},
    {1022, "static", ReceiverVersion, true},
    {1023, "static", " 2.4.13.03.10", true},
};

bool inside(const ScreenRect& inner, int width, int height) {
    return inner.x >= 0 && inner.y >= 0 && inner.x + inner.width <= width && inner.y + inner.height <= height;
}

class FerrovaneWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        display_ = std::make_unique<XvfbDisplay>();
        ASSERT_TRUE(display_->running()) << display_->error();
        sim_ = std::make_unique<testing_support::SimProcess>(SIM_PROGRAM,
                                                            std::vector<std::string>{"--version", ReceiverVersion});
        ASSERT_TRUE(sim_->started()) << "receiver-sim did not report its pty";
        runFolder_ = fs::path(WINDOW_TEST_OUTPUT_DIR) /
                     ("run-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(runFolder_);
        fs::create_directories(runFolder_ / "root");
    }

    void start(const std::string& tag) {
        dumpPath_ = (runFolder_ / (tag + ".dump")).string();
        scriptPath_ = (runFolder_ / (tag + ".script")).string();
        logPath_ = (runFolder_ / (tag + ".log")).string();
        std::ofstream(scriptPath_, std::ios::trunc).flush();
        program_ = std::make_unique<testing_support::ChildProcess>(
            FERROVANE_PROGRAM, std::vector<std::string>{},
            std::vector<std::pair<std::string, std::string>>{{"FERROVANE_FRONTEND", "window"},
                                                             {"GSETTINGS_BACKEND", "memory"},
                                                             {"DEVICE_COM2", sim_->ptyPath()},
                                                             {"DEVICE_ROOT", (runFolder_ / "root").string()},
                                                             {"WINDOW_TEST_DUMP", dumpPath_},
                                                             {"WINDOW_TEST_SCRIPT", scriptPath_}},
            logPath_, testing_support::ChildProcess::Output::LogFile);
        ASSERT_TRUE(program_->started());
    }

    // Polls the front end's dump until ready says yes; fails (with the last dump) after timeout.
    ControlTreeDump waitFor(const std::string& what, const std::function<bool(const ControlTreeDump&)>& ready,
                            std::chrono::seconds timeout = std::chrono::seconds(20)) {
        auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            ControlTreeDump dump = ControlTreeDump::readFile(dumpPath_);
            if (ready(dump)) return dump;
            if (program_->waitExit(std::chrono::milliseconds(0))) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ADD_FAILURE() << "waited in vain for " << what << "; last dump:\n"
                      << testing_support::SimProcess::readFile(dumpPath_) << "program output:\n"
                      << testing_support::SimProcess::readFile(logPath_);
        return ControlTreeDump::readFile(dumpPath_);
    }

    void send(const std::string& command) {
        std::ofstream script(scriptPath_, std::ios::app);
        script << command << '\n';
    }

    // Starts Ferrovane, answers the warning with Enter and waits for the dialog to be ready.
    ControlTreeDump startAndPassTheWarning(const std::string& tag) {
        start(tag);
        waitFor("the warning box", [](const ControlTreeDump& d) { return !d.boxes.empty(); });
        send("key return");
        return waitFor("the dialog after the first version read", [](const ControlTreeDump& d) {
            const DumpedDialog* dialog = d.dialog(102);
            const DumpedControl* version = dialog != nullptr ? dialog->control(1022) : nullptr;
            return d.boxes.empty() && dialog->shown && version != nullptr && version->text == ReceiverVersion;
        });
    }

    std::unique_ptr<XvfbDisplay> display_;
    std::unique_ptr<testing_support::SimProcess> sim_;
    std::unique_ptr<testing_support::ChildProcess> program_;
    fs::path runFolder_;
    std::string dumpPath_;
    std::string scriptPath_;
    std::string logPath_;
};

TEST_F(FerrovaneWindowTest, WarningThenTheDialogWithEveryControlOfItsTemplateInside297By202) {
    start("ferrovane");
    ControlTreeDump atStart = waitFor("the warning box", [](const ControlTreeDump& d) { return !d.boxes.empty(); });
    ASSERT_EQ(atStart.boxes.size(), 1u);
    const DumpedBox& warning = atStart.boxes[0];
    EXPECT_EQ(warning.title, "Warning");
    EXPECT_EQ(warning.text, WarningText);
    EXPECT_TRUE(warning.owned);
    ASSERT_NE(atStart.dialog(102), nullptr);
    EXPECT_FALSE(atStart.dialog(102)->shown) << "the dialog shows only after the warning";
    EXPECT_TRUE(display_->capture(WINDOW_TEST_OUTPUT_DIR "/ferrovane-warning.png", warning.frame));

    send("key return");
    ControlTreeDump dump = waitFor("the dialog after the first version read", [](const ControlTreeDump& d) {
        const DumpedDialog* dialog = d.dialog(102);
        const DumpedControl* version = dialog != nullptr ? dialog->control(1022) : nullptr;
        return d.boxes.empty() && dialog != nullptr && dialog->shown && version != nullptr &&
               version->text == ReceiverVersion;
    });
    const DumpedDialog* dialog = dump.dialog(102);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(display_->capture(WINDOW_TEST_OUTPUT_DIR "/ferrovane.png", dialog->frame));

    // Placed top-most, then centred; the size stays 297 x 202.
    EXPECT_EQ(dialog->caption, "Ferrovane");
    EXPECT_TRUE(dialog->modal);
    EXPECT_TRUE(dialog->topMost);
    EXPECT_TRUE(dialog->closeBox);
    EXPECT_EQ(dialog->icons, "11");
    EXPECT_EQ(dialog->frame.x, (XvfbDisplay::Width - 297) / 2);
    EXPECT_EQ(dialog->frame.y, (XvfbDisplay::Height - 202) / 2);
    EXPECT_EQ(dialog->frame.width, 297);
    EXPECT_EQ(dialog->frame.height, 202);
    // The X server agrees: a mapped top-level "Ferrovane" of 297 x 202 at the centre (no window
    // manager: the frame is the client area).
    std::string tree = commandOutput("xwininfo -display " + display_->name() + " -root -children");
    std::istringstream lines(tree);
    std::string line;
    bool found = false;
    while (std::getline(lines, line)) {
        found = found || (line.find("\"Ferrovane\"") != std::string::npos &&
                          line.find("297x202+363+283") != std::string::npos);
    }
    EXPECT_TRUE(found) << tree;

    ASSERT_EQ(dialog->controls.size(), std::size(expectedControls));
    for (size_t i = 0; i < std::size(expectedControls); ++i) {
        const ExpectedControl& expected = expectedControls[i];
        const DumpedControl& control = dialog->controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + " \"" + expected.text + "\"");
        EXPECT_EQ(control.id, expected.id);
        EXPECT_EQ(control.kind, expected.kind);
        EXPECT_EQ(control.text, expected.text);
        EXPECT_EQ(control.shown, expected.shown);
        EXPECT_EQ(control.enabled, expected.shown);
        if (!expected.shown) continue;
        // Visible and legible: inside the client area, and the text fits its control.
        EXPECT_TRUE(inside(control.rect, dialog->clientWidth, dialog->clientHeight));
        int padding = control.kind == std::string("button") ? 12 : 0;
        EXPECT_LE(control.textWidth + padding, control.rect.width);
        EXPECT_LE(control.textHeight, control.rect.height);
        if (!control.text.empty()) {
            EXPECT_GE(control.textHeight, 11) << "text too small to read";
        }
    }
    EXPECT_TRUE(dialog->control(1008)->isDefault);
    EXPECT_EQ(dialog->control(1017)->items, "\"COM1\",\"COM2\"");
    EXPECT_EQ(dialog->control(1017)->selected, 1);

    // The caption's OK, from the keyboard.
    send("key ctrl+return");
    EXPECT_EQ(program_->waitExit(std::chrono::seconds(10)), 0);
}

TEST_F(FerrovaneWindowTest, EscapeAndTheCloseBoxEndTheProgram) {
    for (const char* command : {"key escape", "close"}) {
        SCOPED_TRACE(command);
        std::string tag = command[0] == 'k' ? "escape" : "close";
        startAndPassTheWarning(tag);
        send(command);
        EXPECT_EQ(program_->waitExit(std::chrono::seconds(10)), 0);
        program_.reset();
    }
}

}  // namespace
