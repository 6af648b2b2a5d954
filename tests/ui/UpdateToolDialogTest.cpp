// The update tool's dialog as the user and the clock see it: boxes, control texts, timers.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "platform/DeviceNames.h"
#include "platform/ui/CProgressCtrl.h"
#include "platform/ui/SystemIdle.h"
#include "tests/ui/DialogFixture.h"
#include "updatetool/link/FirmwareVersion.h"
#include "updatetool/link/GpsPort.h"
#include "updatetool/link/SerialLink.h"
#include "updatetool/ui/CUpdateToolApp.h"
#include "updatetool/ui/CUpdateToolDlg.h"
#include "updatetool/ui/DialogState.h"
#include "updatetool/ui/ProgramState.h"
#include "updatetool/ui/Resource.h"

using testing_support::DialogFixture;
using testing_support::ShownBox;
using testing_support::TestFrontEnd;

namespace {

using UpdateToolDialog = DialogFixture;

const std::string warningBox =
    "box owned \"Warning\" \"In order to upgrade the GPS-Firmware correctly, please stop ALL applications and apply "
    "external power to the device. It may take 5 minutes for upgrading.\"";

size_t positionOf(const std::vector<std::string>& log, const std::string& line) {
    return static_cast<size_t>(std::find(log.begin(), log.end(), line) - log.begin());
}

// Makes a hidden button reachable, as if the template showed it.
void reveal(int controlId) {
    mainDialog->GetDlgItem(controlId)->ShowWindow(true);
    mainDialog->GetDlgItem(controlId)->EnableWindow(true);
}

}  // namespace

TEST_F(UpdateToolDialog, InitialisationRunsItsStepsInOrder) {
    runDialog([](TestFrontEnd& ui) { ui.closeRequest(); });

    std::wstring version = currentVersion;
    ASSERT_FALSE(version.empty());
    std::vector<std::string> expected = {
        "create 102 hidden",
        "place topmost 10 10 297 202",
        "show 0",
        warningBox,
        "show 1",
        "items 1017 [\"COM1\"] selected -1",
        "items 1017 [\"COM1\",\"COM2\"] selected -1",
        "text 1017 \"COM2\"",
        "items 1017 [\"COM1\",\"COM2\"] selected 1",
        "text 1022 \"\"",
        "text 1023 \" 2.4.13.03.10\"",
        "icon large 128",
        "icon small 128",
        "centre",
        "text 1010 \"Ready\"",
        "timer 1 2000",
        "text 1022 \"" + platform::toUtf8(version) + "\"",
        "timer 100 1",
        "modal",
        "user close",
        "end 2",
        "destroy",
    };
    EXPECT_EQ(ui.logOf({"create", "place", "show", "box", "items", "text", "icon", "centre", "timer", "kill", "modal",
                        "user", "end", "destroy"}),
              expected);
    EXPECT_EQ(ui.boxes().size(), 1u);
}

TEST_F(UpdateToolDialog, ShowsTheFixedTextsAndTheHiddenPortChoice) {
    runDialog([](TestFrontEnd& ui) {
        EXPECT_EQ(ui.text(IDC_CURRENT_VERSION), currentVersion);
        EXPECT_EQ(ui.text(IDC_NEW_VERSION), L" 2.4.13.03.10");
        EXPECT_EQ(ui.text(IDC_STATUS), L"Ready");
        const auto& port = ui.control(IDC_PORT);
        EXPECT_EQ(port.items, (std::vector<std::wstring>{L"COM1", L"COM2"}));
        EXPECT_EQ(port.selected, 1);
        EXPECT_FALSE(port.visible);
        EXPECT_TRUE(ui.control(IDC_UPDATE).enabled);
        EXPECT_EQ(ui.placement(), (platform::ui::WindowPlacement{true, 10, 10, 297, 202}));
        EXPECT_TRUE(ui.windowShown());
        ui.okCommand();
    });
    EXPECT_EQ(currentVersion, platform::fromUtf8(ports->receiver().reportedVersion()));
}

TEST_F(UpdateToolDialog, SilentReceiverGivesReadFailedThenReady) {
    sim::Options silent;
    silent.faults.silent = true;
    useReceiverWith(silent);
    uint64_t warningAtMs = 0;
    uint64_t failedAtMs = 0;
    ui.onBox([&](const ShownBox& box) {
        (box.title == L"Warning" ? warningAtMs : failedAtMs) = clock.nowMs();
    });

    runDialog([](TestFrontEnd& ui) {
        EXPECT_EQ(ui.text(IDC_CURRENT_VERSION), L"");
        EXPECT_EQ(ui.text(IDC_STATUS), L"Ready");
        ui.closeRequest();
    });

    auto shown = ui.boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], (ShownBox{platform::ui::NoWindow, L"Read Failed!", L"Message", 0x10, true}));
    // The read blocks initialisation between timer 1 and timer 100, for 10 to 12 seconds.
    auto log = ui.log();
    size_t failed = positionOf(log, "box unowned \"Message\" \"Read Failed!\"");
    EXPECT_LT(positionOf(log, "timer 1 2000"), failed);
    EXPECT_LT(failed, positionOf(log, "timer 100 1"));
    EXPECT_GE(failedAtMs - warningAtMs, 10'000u);
    EXPECT_LE(failedAtMs - warningAtMs, 12'100u);
}

TEST_F(UpdateToolDialog, StartTimerTicksOnceAndStatusTimerKeepsRunning) {
    uint64_t resetsBefore = SystemIdleTimerResets();
    runDialog([](TestFrontEnd& ui) {
        EXPECT_TRUE(ui.fireTimer(StartTimerId));
        EXPECT_FALSE(ui.timerRunning(StartTimerId));
        EXPECT_FALSE(ui.fireTimer(StartTimerId));
        EXPECT_EQ(ui.timerPeriod(StatusTimerId), 2000u);
        EXPECT_TRUE(ui.fireTimer(StatusTimerId));
        EXPECT_TRUE(ui.fireTimer(StatusTimerId));
        EXPECT_TRUE(ui.timerRunning(StatusTimerId));
        ui.closeRequest();
    });
    EXPECT_EQ(ui.logOf({"kill"}), std::vector<std::string>{"kill 100"});
    // Every tick of timer 1, and only those, resets the idle timer.
    EXPECT_EQ(SystemIdleTimerResets() - resetsBefore, 2u);
}

TEST_F(UpdateToolDialog, ManyStatusChangesBetweenTwoTicksShowOnlyTheLast) {
    runDialog([](TestFrontEnd& ui) {
        ui.fireTimer(StartTimerId);
        ui.clearLog();
        for (const wchar_t* text : {L"first", L"second", L"third"}) {
            mainDialog->SetStatusText(text);
            statusDirty = 1;
        }
        ui.fireTimer(StatusTimerId);
        EXPECT_EQ(statusDirty.load(), 0);
        // A text written without setting the flag waits for a tick that finds the flag.
        mainDialog->SetStatusText(L"unflagged");
        ui.fireTimer(StatusTimerId);
        EXPECT_EQ(ui.logOf({"text 1010"}), std::vector<std::string>{"text 1010 \"third\""});
        ui.closeRequest();
    });
}

TEST_F(UpdateToolDialog, WorkerDoneStopsTheStatusTimerAndEnablesUpdate) {
    runDialog([](TestFrontEnd& ui) {
        mainDialog->GetDlgItem(IDC_UPDATE)->EnableWindow(false);
        ui.fireTimer(StatusTimerId);
        EXPECT_TRUE(ui.timerRunning(StatusTimerId));
        EXPECT_FALSE(ui.control(IDC_UPDATE).enabled);
        workerDone = 1;
        ui.fireTimer(StatusTimerId);
        EXPECT_FALSE(ui.timerRunning(StatusTimerId));
        EXPECT_TRUE(ui.control(IDC_UPDATE).enabled);
        ui.closeRequest();
    });
}

TEST_F(UpdateToolDialog, OkCancelAndCloseAreRefusedWhileAnUpdateRuns) {
    struct Case {
        const char* name;
        void (TestFrontEnd::*act)();
        int result;
    };
    const Case cases[] = {
        {"OK", &TestFrontEnd::okCommand, IdOk},
        {"Cancel", &TestFrontEnd::cancelCommand, IdCancel},
        {"close", &TestFrontEnd::closeRequest, IdCancel},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int result = runDialog([&](TestFrontEnd& ui) {
            ASSERT_TRUE(GpsPort.handle);
            updateBusy = 1;
            (ui.*c.act)();
            (ui.*c.act)();
            EXPECT_FALSE(ui.ended());
            EXPECT_TRUE(GpsPort.handle);
            updateBusy = 0;
            (ui.*c.act)();
            EXPECT_TRUE(ui.ended());
        });
        EXPECT_EQ(result, c.result);
        EXPECT_FALSE(GpsPort.handle);
        EXPECT_FALSE(serialLink.IsOpen());
    }
}

TEST_F(UpdateToolDialog, HiddenButtonsCannotBePressed) {
    runDialog([](TestFrontEnd& ui) {
        for (int id : {IDC_LOADER_FILE, IDC_TARGET_FILE, IDC_FW_VERSION, IDC_REPAIR}) {
            EXPECT_FALSE(ui.press(id)) << id;
        }
        ui.closeRequest();
    });
    EXPECT_TRUE(ui.logOf({"file"}).empty());
}

TEST_F(UpdateToolDialog, RepairReportsItsOutcomeOnTheStatusLine) {
    struct Case {
        const char* name;
        bool silent;
        bool linkOpenFails;
        const wchar_t* status;
    };
    const Case cases[] = {
        {"receiver answers", false, false, L"Check successfully."},
        {"receiver silent", true, false, L"Check&Repair fail."},
        {"port cannot be opened", false, true, L"Check&Repair fail."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Options options;
        options.faults.silent = c.silent;
        useReceiverWith(options);
        workerDone = 0;
        ui.clearLog();
        bool repairWasDisabledDuringBox = false;
        ui.onBox([&](const ShownBox& box) {
            if (box.title != L"Warning" && box.text != L"Read Failed!") {
                repairWasDisabledDuringBox = !ui.control(IDC_REPAIR).enabled;
            }
        });
        runDialog([&](TestFrontEnd& ui) {
            ui.fireTimer(StartTimerId);
            reveal(IDC_REPAIR);
            mainDialog->GetDlgItem(IDC_UPDATE)->EnableWindow(false);
            ports->faults().openFails = c.linkOpenFails;
            ui.clearLog();
            ASSERT_TRUE(ui.press(IDC_REPAIR));
            EXPECT_EQ(ui.logOf({"enable"}), (std::vector<std::string>{"enable 1021 0", "enable 1021 1"}));
            // The text waits for the timer, which then also gives Update back.
            EXPECT_NE(ui.text(IDC_STATUS), c.status);
            ui.fireTimer(StatusTimerId);
            EXPECT_EQ(ui.text(IDC_STATUS), c.status);
            EXPECT_TRUE(ui.control(IDC_UPDATE).enabled);
            EXPECT_FALSE(ui.timerRunning(StatusTimerId));
            ports->faults().openFails = false;
            ui.closeRequest();
        });
        EXPECT_EQ(repairWasDisabledDuringBox, c.linkOpenFails);
    }
}

TEST_F(UpdateToolDialog, FileButtonsAskForAFileAndShowItsPath) {
    struct Case {
        int button;
        int pathControl;
        const char* filter;
    };
    const Case cases[] = {
        {IDC_LOADER_FILE, IDC_LOADER_PATH, "Binary Files (*.bin)|*.bin|All Files (*.*)|*.*||"},
        {IDC_TARGET_FILE, IDC_FIRMWARE_PATH,
         "Hitachi Files (*.s)|*.s|Motorola Files (*.s3)|*.s3|All Files (*.*)|*.*||"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        ui.clearLog();
        runDialog([&](TestFrontEnd& ui) {
            reveal(c.button);
            ui.answerFileDialogs(L"/media/card/dlgsp2.bin");
            ASSERT_TRUE(ui.press(c.button));
            EXPECT_EQ(ui.text(c.pathControl), L"/media/card/dlgsp2.bin");
            ui.answerFileDialogs(std::nullopt);
            ASSERT_TRUE(ui.press(c.button));
            EXPECT_EQ(ui.text(c.pathControl), L"/media/card/dlgsp2.bin");
            ui.closeRequest();
        });
        std::string asked = std::string("file \"Specify a Boot Loader File\" \"") + c.filter + "\" \"\\\\My Document\" explorer";
        EXPECT_EQ(ui.logOf({"file"}), (std::vector<std::string>{asked, asked}));
    }
}

TEST_F(UpdateToolDialog, FwVersionRereadsTheVersionButLeavesTheVersionLine) {
    runDialog([](TestFrontEnd& ui) {
        std::wstring shown = ui.text(IDC_CURRENT_VERSION);
        currentVersion = L"stale";
        reveal(IDC_FW_VERSION);
        ASSERT_TRUE(ui.press(IDC_FW_VERSION));
        EXPECT_NE(currentVersion, L"stale");
        EXPECT_EQ(ui.text(IDC_CURRENT_VERSION), shown);
        EXPECT_TRUE(GpsPort.handle);
        ui.closeRequest();
    });
}

TEST_F(UpdateToolDialog, StatusWrittenFromAnotherThreadChangesHandsWhole) {
    runDialog([](TestFrontEnd& ui) {
        ui.fireTimer(StartTimerId);
        std::atomic<bool> finished{false};
        std::thread writer([&] {
            for (int i = 1; i <= 300; ++i) {
                mainDialog->SetStatusText(L"status " + std::to_wstring(i) + std::wstring(i % 40, L'.'));
                statusDirty = 1;
            }
            finished = true;
        });
        while (!finished) ui.fireTimer(StatusTimerId);
        writer.join();
        ui.fireTimer(StatusTimerId);
        EXPECT_EQ(ui.text(IDC_STATUS), L"status 300" + std::wstring(300 % 40, L'.'));
        ui.closeRequest();
    });
}

TEST_F(UpdateToolDialog, ProgressRequestsFromAnotherThreadAreServedWhileABoxIsOpen) {
    runDialog([](TestFrontEnd& ui) {
        auto* bar = dynamic_cast<CProgressCtrl*>(mainDialog->GetDlgItem(IDC_PROGRESS));
        ASSERT_NE(bar, nullptr);
        std::atomic<bool> finished{false};
        std::thread worker;
        ui.onBox([&](const ShownBox&) {
            worker = std::thread([&] {
                bar->SetRange(0, 100);
                bar->SetPos(0);
                bar->SetStep(1);
                for (int i = 0; i < 37; ++i) bar->StepIt();
                finished = true;
            });
            // The box's own loop serves the worker's requests.
            EXPECT_TRUE(ui.serveUntil([&] { return finished.load(); }, std::chrono::seconds(20)));
        });
        ::MessageBox(mainDialog, L"busy", L"Test");
        worker.join();
        EXPECT_EQ(ui.control(IDC_PROGRESS).position, 37);
        ui.closeRequest();
    });
}

TEST(UpdateToolApp, StartUpRunsTheDialogAndTheProgramEndsNormally) {
    testing_support::TestFrontEnd ui;
    platform::installHostServices();
    platform::ui::installFrontEnd(&ui);
    setenv("DEVICE_COM2", "/nonexistent/receiver", 1);
    ui.onModal([](TestFrontEnd& ui) { ui.okCommand(); });
    CUpdateToolApp app;
    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(ui.ended());
    EXPECT_EQ(ui.result(), IdOk);
    EXPECT_EQ(mainDialog, nullptr);
    EXPECT_EQ(app.mainWindow, nullptr);
    platform::ui::installFrontEnd(nullptr);
    platform::installHostServices();
    unsetenv("DEVICE_COM2");
}
