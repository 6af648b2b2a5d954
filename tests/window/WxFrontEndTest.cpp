// The window front end itself, on a private X server: loops, timers, boxes from the window
// thread and from other threads, requests from other threads, real input through the server.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <atomic>
#include <memory>
#include <thread>

#include <wx/combobox.h>
#include <wx/gauge.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "platform/MessageBox.h"
#include "platform/ui/WindowFrontEnd.h"
#include "platform/wx/DialogWindow.h"
#include "platform/wx/MessageBoxWindow.h"
#include "platform/wx/WxFrontEnd.h"
#include "tests/window/WindowTestDialog.h"
#include "tests/window/XvfbDisplay.h"

using namespace platform::ui;
using platform::wx::WxFrontEnd;
using namespace window_tests;

namespace {

// One X server and one front end for the whole program: the toolkit starts once per process.
std::unique_ptr<XvfbDisplay> display;
std::unique_ptr<FrontEnd> frontEndUnderTest;
std::string setupError;

class WindowEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // GTK's settings stay in memory: there is no session bus for dconf here.
        ::setenv("GSETTINGS_BACKEND", "memory", 1);
        display = std::make_unique<XvfbDisplay>();
        if (!display->running()) {
            setupError = display->error();
            return;
        }
        static char name[] = "window_frontend_tests";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        frontEndUnderTest = makeWindowFrontEnd(argc, argv, setupError);
    }
    void TearDown() override {
        frontEndUnderTest.reset();
        display.reset();
    }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new WindowEnvironment);

constexpr uint32_t Watchdog = 999;
constexpr int WatchdogResult = -99;

class WxFrontEndTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(frontEndUnderTest, nullptr) << setupError; }
    void TearDown() override {
        if (handle_ != NoWindow && frontEndUnderTest) ui().destroyDialog(handle_);
    }

    FrontEnd& ui() { return *frontEndUnderTest; }
    WxFrontEnd& wx() { return dynamic_cast<WxFrontEnd&>(*frontEndUnderTest); }
    platform::wx::DialogWindow& window() { return *wx().dialog(handle_); }

    // The test dialog, shown at (40, 40) in its template's size.
    WindowHandle open(const std::vector<ControlState>& states = initialStates(testTemplate())) {
        handle_ = ui().createDialog(testTemplate(), states, events);
        ui().placeWindow(handle_, WindowPlacement{false, 40, 40, 252, 158});
        ui().showWindow(handle_, true);
        return handle_;
    }

    // Runs the modal loop; a watchdog answers stuck boxes and ends a stuck run, so a broken
    // front end fails the test instead of hanging it.
    int run(uint32_t watchdogMs = 15000) {
        auto inner = events.onTimer;
        events.onTimer = [this, inner](uint32_t id) {
            if (id != Watchdog) {
                if (inner) inner(id);
                return;
            }
            ADD_FAILURE() << "watchdog: the test did not end by itself";
            if (auto* box = wx().frontBox()) box->answer();
            if (auto* chooser = wx().openFileDialog()) chooser->EndModal(wxID_CANCEL);
            ui().endModal(handle_, WatchdogResult);
        };
        ui().setTimer(handle_, Watchdog, watchdogMs);
        return ui().runModal(handle_);
    }

    // A real click (through the X server) at the centre of a control.
    static void click(wxWindow* control) {
        wxUIActionSimulator input;
        input.MouseMove(control->GetScreenRect().GetPosition() + control->GetSize() / 2);
        input.MouseClick();
    }

    RecordingEvents events;
    WindowHandle handle_ = NoWindow;
};

TEST_F(WxFrontEndTest, WorkerBoxBlocksOnlyTheWorkerWhileTimersAndRequestsGoOn) {
    open();
    std::atomic<bool> workerAnswered{false};
    std::atomic<int> workerAnswer{0};
    std::thread worker;
    std::thread requester;
    std::atomic<bool> requesterDone{false};
    int ticksWithBoxOpen = 0;
    int requestsServed = 0;
    bool answeredBeforeOk = true;
    std::wstring boxTitle;
    std::wstring boxText;
    bool boxOwned = true;

    events.onTimer = [&](uint32_t id) {
        if (id != 1) return;
        if (!worker.joinable()) {
            worker = std::thread([&] {
                workerAnswer = ui().messageBox(NoWindow, L"Read Failed!", L"Error", platform::MessageBoxType::Ok);
                workerAnswered = true;
            });
            return;
        }
        if (wx().openBoxes() == 0) {
            if (workerAnswered) ui().endModal(handle_, 1);
            return;
        }
        ++ticksWithBoxOpen;
        if (ticksWithBoxOpen == 1) {
            // Another thread's synchronous requests, as the worker's progress bar calls are.
            requester = std::thread([&] {
                for (int step = 1; step <= 5; ++step) {
                    ui().runOnWindowThread([&, step] {
                        ++requestsServed;
                        ControlState progress = initialStates(testTemplate())[5];
                        progress.position = step * 20;
                        ui().controlChanged(handle_, progress);
                    });
                }
                requesterDone = true;
            });
        }
        if (ticksWithBoxOpen >= 10 && requesterDone) {
            answeredBeforeOk = workerAnswered;
            auto* box = wx().frontBox();
            boxTitle = box->title();
            boxText = box->text();
            boxOwned = box->owned();
            box->answer();
        }
    };
    ui().setTimer(handle_, 1, 20);
    EXPECT_EQ(run(), 1);
    worker.join();
    requester.join();

    EXPECT_GE(ticksWithBoxOpen, 10) << "the dialog's timer stopped while the worker's box was open";
    EXPECT_EQ(requestsServed, 5);
    EXPECT_FALSE(answeredBeforeOk) << "the worker went on before its box was answered";
    EXPECT_EQ(workerAnswer, platform::IdOk);
    EXPECT_EQ(boxTitle, L"Error");
    EXPECT_EQ(boxText, L"Read Failed!");
    EXPECT_FALSE(boxOwned);
    auto* gauge = dynamic_cast<wxGauge*>(window().controlWindow(TestIds::Progress));
    ASSERT_NE(gauge, nullptr);
    EXPECT_EQ(gauge->GetValue(), 100);
}

TEST_F(WxFrontEndTest, OwnedBoxRunsANestedLoopThatServesTimersRequestsAndCloseRequests) {
    open();
    std::thread worker;
    std::atomic<int> requestsServed{0};
    std::atomic<bool> workerDone{false};
    int ticksWithBoxOpen = 0;
    bool ownedBox = false;
    size_t logWhenAnswered = 0;
    int answer = 0;

    events.onTimer = [&](uint32_t id) {
        if (id == 2) {
            // A handler that shows an owned box and goes on only when it is answered.
            ui().killTimer(handle_, 2);
            answer = ui().messageBox(handle_, L"Owned text", L"Owned", platform::MessageBoxType::Ok);
            events.log.push_back("box returned");
            ui().endModal(handle_, 3);
            return;
        }
        if (id != 1 || wx().openBoxes() == 0) return;
        ++ticksWithBoxOpen;
        if (ticksWithBoxOpen == 1) {
            // The owner takes no input while its box is open.
            click(window().controlWindow(TestIds::Go));
            worker = std::thread([&] {
                for (int i = 0; i < 3; ++i) ui().runOnWindowThread([&] { ++requestsServed; });
                ui().postCloseRequest(handle_);
                workerDone = true;
            });
        }
        bool closeSeen = std::find(events.log.begin(), events.log.end(), "close") != events.log.end();
        if (ticksWithBoxOpen >= 15 && workerDone && closeSeen && wx().frontBox() != nullptr) {
            ownedBox = wx().frontBox()->owned();
            logWhenAnswered = events.log.size();
            wx().frontBox()->answer();
        }
    };
    ui().setTimer(handle_, 1, 20);
    ui().setTimer(handle_, 2, 50);
    EXPECT_EQ(run(), 3);
    worker.join();

    EXPECT_GE(ticksWithBoxOpen, 15);
    EXPECT_EQ(requestsServed, 3);
    EXPECT_TRUE(ownedBox);
    EXPECT_EQ(answer, platform::IdOk);
    // The posted close request arrived inside the box's loop, the click on the owner never did.
    EXPECT_EQ(events.log, (std::vector<std::string>{"close", "box returned"}));
    EXPECT_EQ(logWhenAnswered, 1u);
}

TEST_F(WxFrontEndTest, EndingTheDialogDuringABoxWaitsForTheBox) {
    open();
    int ticksWithBoxOpen = 0;
    events.onTimer = [&](uint32_t id) {
        if (id == 2) {
            ui().killTimer(handle_, 2);
            ui().messageBox(handle_, L"Still open", L"Box", platform::MessageBoxType::Ok);
            events.log.push_back("box returned");
            return;
        }
        if (wx().openBoxes() == 0) return;
        ++ticksWithBoxOpen;
        if (ticksWithBoxOpen == 2) {
            ui().endModal(handle_, 5);
            events.log.push_back("end asked");
        }
        if (ticksWithBoxOpen == 10) {
            events.log.push_back("answering");
            wx().frontBox()->answer();
        }
    };
    ui().setTimer(handle_, 1, 20);
    ui().setTimer(handle_, 2, 30);
    EXPECT_EQ(run(), 5);
    EXPECT_EQ(events.log, (std::vector<std::string>{"end asked", "answering", "box returned"}));
    EXPECT_EQ(ticksWithBoxOpen, 10);
}

TEST_F(WxFrontEndTest, KilledTimerStopsAndReplacedTimerCountsAfresh) {
    open();
    events.onTimer = [&](uint32_t id) {
        if (id == 1 && events.ticks[1] == 3) ui().killTimer(handle_, 1);
        if (id == 3) ui().endModal(handle_, 0);
    };
    ui().setTimer(handle_, 1, 10);
    ui().setTimer(handle_, 2, 60000);
    ui().setTimer(handle_, 2, 25);  // replaces the minute-long one
    ui().setTimer(handle_, 3, 500);
    ui().killTimer(handle_, 77);    // never started: nothing happens
    EXPECT_EQ(run(), 0);
    EXPECT_EQ(events.ticks[1], 3);
    EXPECT_GE(events.ticks[2], 5);
    EXPECT_EQ(events.ticks[3], 1);
}

struct InputCase {
    const char* name;
    std::function<void(platform::wx::DialogWindow&)> act;
    std::vector<std::string> expected;
    std::function<void(platform::wx::DialogWindow&)> then = nullptr;  // 400 ms later
};

TEST_F(WxFrontEndTest, UserInputThroughTheServerReachesTheDialogLayer) {
    auto key = [](int code, int modifiers) {
        return [code, modifiers](platform::wx::DialogWindow& dialog) {
            // The keyboard goes where the pointer is: no window manager hands out the focus.
            wxUIActionSimulator input;
            input.MouseMove(dialog.GetScreenRect().GetPosition() + wxPoint(6, 6));
            input.Char(code, modifiers);
        };
    };
    const std::vector<InputCase> cases = {
        {"click on the default button", [](auto& d) { click(d.controlWindow(TestIds::Go)); }, {"button 1003"}},
        {"click on a disabled button", [](auto& d) { click(d.controlWindow(TestIds::Other)); }, {}},
        {"Enter presses the default button", key(WXK_RETURN, wxMOD_NONE), {"button 1003"}},
        {"Ctrl+Enter is the caption's OK", key(WXK_RETURN, wxMOD_CONTROL), {"ok"}},
        {"Escape is the Cancel command", key(WXK_ESCAPE, wxMOD_NONE), {"cancel"}},
        {"the close box asks to close", [](auto& d) { d.Close(); }, {"close"}},
        {"the context menu's OK",
         [](auto& d) {
             wxUIActionSimulator input;
             input.MouseMove(d.GetScreenRect().GetPosition() + wxPoint(20, 100));
             input.MouseClick(wxMOUSE_BTN_RIGHT);
         },
         {"ok"},
         [](auto&) {
             wxUIActionSimulator input;
             input.Char(WXK_DOWN);
             input.Char(WXK_RETURN);
         }},
        {"typing in the edit box",
         [](auto& d) {
             click(d.controlWindow(TestIds::Edit));
             wxUIActionSimulator().Text("ab");
         },
         {"edit 2 a -1", "edit 2 ab -1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        events = RecordingEvents{};
        open();
        events.onTimer = [&](uint32_t id) {
            if (id == 1) {
                ui().killTimer(handle_, 1);
                c.act(window());
            }
            if (id == 3) {
                ui().killTimer(handle_, 3);
                if (c.then) c.then(window());
            }
            // Done once the expected events are in (a busy machine may take a while), and not
            // before a second has passed, so an unexpected extra event has time to show.
            if (id == 2) {
                int waited = events.ticks[2];
                if ((waited >= 10 && events.log.size() >= c.expected.size()) || waited >= 60) {
                    ui().endModal(handle_, 0);
                }
            }
        };
        ui().setTimer(handle_, 1, 300);
        ui().setTimer(handle_, 3, 700);
        ui().setTimer(handle_, 2, 100);
        EXPECT_EQ(run(), 0);
        EXPECT_EQ(events.log, c.expected);
        ui().destroyDialog(handle_);
        handle_ = NoWindow;
    }
}

TEST_F(WxFrontEndTest, DefaultButtonThatIsDisabledTakesNoEnter) {
    auto states = initialStates(testTemplate());
    states[3].enabled = false;  // Go, the default button
    open(states);
    events.onTimer = [&](uint32_t id) {
        if (id == 1) {
            ui().killTimer(handle_, 1);
            wxUIActionSimulator input;
            input.MouseMove(window().GetScreenRect().GetPosition() + wxPoint(6, 6));
            input.Char(WXK_RETURN);
        }
        if (id == 2) ui().endModal(handle_, 0);
    };
    ui().setTimer(handle_, 1, 300);
    ui().setTimer(handle_, 2, 1000);
    run();
    EXPECT_TRUE(events.log.empty()) << events.log.front();
}

TEST_F(WxFrontEndTest, ControlsMirrorTheStatesTheDialogLayerHandsOver) {
    open();
    auto& dialog = window();
    auto* combo = dynamic_cast<wxComboBox*>(dialog.controlWindow(TestIds::Combo));
    auto* gauge = dynamic_cast<wxGauge*>(dialog.controlWindow(TestIds::Progress));
    ASSERT_NE(combo, nullptr);
    ASSERT_NE(gauge, nullptr);
    EXPECT_FALSE(combo->IsShown());
    EXPECT_FALSE(combo->IsEnabled());
    EXPECT_FALSE(dialog.controlWindow(TestIds::Other)->IsEnabled());
    EXPECT_TRUE(dialog.controlWindow(TestIds::Other)->IsShown());

    auto states = initialStates(testTemplate());
    states[1].text = L"Ready";
    states[3].visible = false;
    states[5].lower = 0;
    states[5].upper = 40;
    states[5].position = 10;
    states[6].items = {L"COM1", L"COM2"};
    states[6].selected = 1;
    states[6].text = L"COM2";
    for (int index : {1, 3, 5, 6}) ui().controlChanged(handle_, states[index]);

    EXPECT_EQ(dialog.controlWindow(TestIds::Status)->GetLabel(), "Ready");
    EXPECT_FALSE(dialog.controlWindow(TestIds::Go)->IsShown());
    EXPECT_EQ(gauge->GetRange(), 40);
    EXPECT_EQ(gauge->GetValue(), 10);
    ASSERT_EQ(combo->GetCount(), 2u);
    EXPECT_EQ(combo->GetString(0), "COM1");
    EXPECT_EQ(combo->GetSelection(), 1);
    EXPECT_EQ(combo->GetValue(), "COM2");
    // The layer's own changes are not reported back to it as the user's edits.
    EXPECT_TRUE(events.log.empty());
}

TEST_F(WxFrontEndTest, RepaintNowShowsTheNewTextBeforeAHandlerBlocks) {
    open();
    std::string before = ::testing::TempDir() + "status-before.png";
    std::string during = ::testing::TempDir() + "status-during.png";
    bool capturedBefore = false;
    bool capturedDuring = false;
    events.onTimer = [&](uint32_t id) {
        wxRect status = window().controlWindow(TestIds::Status)->GetScreenRect();
        ScreenRect area{status.x, status.y, status.width, status.height};
        if (id == 1) {
            ui().killTimer(handle_, 1);
            capturedBefore = display->capture(before, area);
            return;
        }
        if (id != 2) return;
        ui().killTimer(handle_, 2);
        ControlState text = initialStates(testTemplate())[1];
        text.text = L"Copying files, please wait.";
        ui().controlChanged(handle_, text);
        ui().repaintNow(handle_);
        // The handler now holds the window thread, as the installer's copying does.
        std::thread shot([&] { capturedDuring = display->capture(during, area); });
        shot.join();
        ui().endModal(handle_, 0);
    };
    ui().setTimer(handle_, 1, 300);
    ui().setTimer(handle_, 2, 600);
    run();
    ASSERT_TRUE(capturedBefore && capturedDuring);
    EXPECT_GT(differingPixels(before, during), 50) << "the new text was not painted before the handler blocked";
}

TEST_F(WxFrontEndTest, FileOpenDialogReturnsTheChosenPathOrNothing) {
    namespace fs = std::filesystem;
    fs::path folder = fs::path(::testing::TempDir()) / "file-dialog";
    fs::create_directories(folder);
    fs::path chosen = folder / "dlgsp2.bin";
    std::ofstream(chosen) << "loader";
    FileOpenRequest request;
    request.title = L"Specify a Boot Loader File";
    request.initialName = L"\\My Document";
    request.filters = {{L"Binary Files (*.bin)", L"*.bin"}, {L"All Files (*.*)", L"*.*"}};

    struct Case {
        const char* name;
        std::string typed;  // a path typed into the chooser, or empty for Escape
        std::optional<std::wstring> expected;
    };
    const Case cases[] = {
        {"a typed path", chosen.string(), chosen.wstring()},
        {"Escape", "", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        events = RecordingEvents{};
        open();
        std::optional<std::wstring> result = L"not called";
        int ticksInChooser = 0;
        events.onTimer = [&](uint32_t id) {
            if (id == 1) {
                ui().killTimer(handle_, 1);
                result = ui().fileOpenDialog(handle_, request);
                ui().endModal(handle_, 0);
                return;
            }
            wxDialog* chooser = wx().openFileDialog();
            if (chooser == nullptr) return;
            // The chooser's loop serves the dialog's timers: the test types from one of them.
            ++ticksInChooser;
            wxUIActionSimulator input;
            if (ticksInChooser == 5) {
                input.MouseMove(chooser->GetScreenRect().GetPosition() + wxPoint(20, 20));
                if (c.typed.empty()) {
                    input.Char(WXK_ESCAPE);
                } else {
                    input.Text(c.typed.c_str());
                }
            }
            // After the chooser's completion has caught up with the typing.
            if (ticksInChooser == 10 && !c.typed.empty()) input.Char(WXK_RETURN);
        };
        ui().setTimer(handle_, 1, 100);
        ui().setTimer(handle_, 2, 100);
        run();
        EXPECT_GE(ticksInChooser, 5);
        EXPECT_EQ(result, c.expected);
        ui().destroyDialog(handle_);
        handle_ = NoWindow;
    }
}

TEST_F(WxFrontEndTest, PlacementCentringTopMostAndIcons) {
    open();
    ui().placeWindow(handle_, WindowPlacement{true, 10, 10, 297, 202});
    auto& dialog = window();
    EXPECT_EQ(dialog.GetScreenRect(), wxRect(10, 10, 297, 202));
    EXPECT_TRUE(dialog.HasFlag(wxSTAY_ON_TOP));
    ui().centreWindow(handle_);
    EXPECT_EQ(dialog.GetScreenRect(),
              wxRect((XvfbDisplay::Width - 297) / 2, (XvfbDisplay::Height - 202) / 2, 297, 202));
    // Every control lies inside the client area, whatever size the window was given.
    wxRect client(wxPoint(0, 0), dialog.GetClientSize());
    for (const auto& control : testTemplate().controls) {
        if (control.id == NoControlId) continue;
        EXPECT_TRUE(client.Contains(dialog.controlWindow(control.id)->GetRect())) << control.id;
    }
    ui().setIcon(handle_, 128, true);
    ui().setIcon(handle_, 128, false);
    wxIconBundle icons = dialog.GetIcons();
    EXPECT_EQ(icons.GetIconCount(), 2u);
    EXPECT_TRUE(icons.GetIcon(wxSize(16, 16)).IsOk());
    ui().showWindow(handle_, false);
    EXPECT_FALSE(dialog.IsShown());
}

}  // namespace
