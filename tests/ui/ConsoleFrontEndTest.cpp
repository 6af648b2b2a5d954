// The console front end in this process: a small dialog on the window thread (the test's),
// and a script on another thread that reads the printed lines and types the input lines.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <thread>
#include <unistd.h>

#include "platform/DeviceNames.h"
#include "platform/MessageBox.h"
#include "platform/console/ConsoleCommand.h"
#include "platform/console/ConsoleFrontEnd.h"
#include "platform/console/ConsoleText.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CProgressCtrl.h"
#include "tests/ui/LineReader.h"

using namespace platform::ui;
using platform::console::ConsoleCommand;
using platform::console::ConsoleFrontEnd;
using testing_support::LineReader;
using namespace std::chrono_literals;

namespace {

constexpr int GoButton = 10;
constexpr int HiddenButton = 11;
constexpr int OffButton = 12;
constexpr int Label = 30;
constexpr int Bar = 40;
constexpr uint32_t TickTimer = 5;

const DialogTemplate& consoleTemplate() {
    static const DialogTemplate t = [] {
        DialogTemplate d;
        d.id = 9;
        d.caption = L"Console \"test\"";
        d.styles = DialogStyle::Visible;
        d.controls = {
            {GoButton, ControlKind::PushButton, L"&Go on", {}, 0, true, true},
            {HiddenButton, ControlKind::PushButton, L"Hidden", {}, 0, false, true},
            {OffButton, ControlKind::PushButton, L"Off", {}, 0, true, false},
            {Label, ControlKind::Static, L"", {}, 0, true, true},
            {Bar, ControlKind::ProgressBar, L"", {}, 0, true, true},
        };
        return d;
    }();
    return t;
}

// Go starts a worker that shows a box of its own and then moves the progress bar; while that
// box is open, the window thread's timer writes the label.
class ConsoleDialog : public CDialog {
public:
    ConsoleDialog() : CDialog(consoleTemplate()) {
        OnButton(GoButton, [this] { onGo(); });
    }
    ~ConsoleDialog() override {
        if (worker.joinable()) worker.join();
    }
    void OnTimerTick(uint32_t timerId) override {
        if (timerId != TickTimer || !workerBoxOpen) return;
        GetDlgItem(Label)->SetWindowText(L"tick " + std::to_wstring(++ticks));
        if (ticks == 3) KillTimer(TickTimer);
    }
    void OnCloseRequest() override {
        ++closeRequests;
        if (closeRequests <= refuseCloses) return;
        CDialog::OnCloseRequest();
    }
    void onGo() {
        if (ownedBoxFirst) {
            ownedBoxFirst = false;
            worker = std::thread([this] { bar()->SetPos(50); });
            ::MessageBox(this, L"owned", L"Window");
            return;
        }
        SetTimer(TickTimer, 10);
        worker = std::thread([this] {
            workerBoxOpen = true;
            ::MessageBox(nullptr, L"from worker", L"Worker");
            workerBoxOpen = false;
            bar()->SetPos(10);
        });
    }
    CProgressCtrl* bar() { return dynamic_cast<CProgressCtrl*>(GetDlgItem(Bar)); }

    std::thread worker;
    std::atomic<bool> workerBoxOpen{false};
    int ticks = 0;
    int closeRequests = 0;
    int refuseCloses = 0;
    bool ownedBoxFirst = false;
};

// Runs dialog on the console front end with script acting on its output and input.
class ConsoleRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::pipe2(input, O_CLOEXEC), 0);
        ASSERT_EQ(::pipe2(output, O_CLOEXEC), 0);
        out = ::fdopen(output[1], "w");
        ASSERT_NE(out, nullptr);
    }
    void TearDown() override {
        if (input[1] >= 0) ::close(input[1]);
        ::close(input[0]);
        ::close(output[0]);
    }
    void type(const std::string& line) {
        std::string text = line + "\n";
        ASSERT_EQ(::write(input[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void endInput() {
        if (input[1] >= 0) ::close(input[1]);
        input[1] = -1;
    }
    int run(ConsoleDialog& dialog, const std::function<void(LineReader&)>& script) {
        LineReader reader(output[0]);
        int result = -1;
        {
            ConsoleFrontEnd console(input[0], out);
            installFrontEnd(&console);
            // A script that stops early ends the input, so the dialog still ends.
            std::thread scripted([&] {
                script(reader);
                endInput();
            });
            result = dialog.DoModal();
            installFrontEnd(nullptr);
            std::fclose(out);
            scripted.join();
        }
        reader.drain(2s);
        transcript = reader.transcript();
        return result;
    }

    int input[2] = {-1, -1};
    int output[2] = {-1, -1};
    std::FILE* out = nullptr;
    std::vector<std::string> transcript;
};

}  // namespace

TEST_F(ConsoleRun, PressesOnlyWhatAWindowWouldLetThroughAndSaysWhyNot) {
    ConsoleDialog dialog;
    int result = run(dialog, [&](LineReader& lines) {
        ASSERT_TRUE(lines.waitFor("WINDOW", 5s));
        for (const char* line : {"press Hidden", "press 12", "press Nothing", "press 30", "wiggle", "ok",
                                 "command maybe", "file /tmp/x", "", "# a comment"}) {
            type(line);
        }
        type("command ok");
    });
    EXPECT_EQ(result, IdOk);
    std::vector<std::string> expected = {
        "DIALOG 9 \"Console \\\"test\\\"\"",
        "WINDOW 9 1",
        "ERROR \"press Hidden: button 11 is hidden\"",
        "ERROR \"press 12: button 12 is disabled\"",
        "ERROR \"press Nothing: the dialog has no such button\"",
        "ERROR \"press 30: the dialog has no such button\"",
        "ERROR \"unknown input \\\"wiggle\\\"; the inputs are: ok | press <id or caption> | command ok | "
        "command cancel | close | file <path> | cancel\"",
        "ERROR \"ok: no message box is open\"",
        "ERROR \"command must be followed by ok or cancel\"",
        "ERROR \"file /tmp/x: no file dialog is open\"",
        "END 1",
    };
    EXPECT_EQ(transcript, expected);
}

TEST_F(ConsoleRun, WorkerBoxBlocksOnlyTheWorkerWhileTimersRun) {
    ConsoleDialog dialog;
    int result = run(dialog, [&](LineReader& lines) {
        ASSERT_TRUE(lines.waitFor("WINDOW", 5s));
        type("press go ON");
        ASSERT_TRUE(lines.waitFor("BOX \"Worker\" \"from worker\"", 5s));
        // The window thread's timer goes on while the worker waits for its box.
        ASSERT_TRUE(lines.waitFor("TEXT 30 \"tick 3\"", 5s));
        type("ok");
        ASSERT_TRUE(lines.waitFor("PROGRESS 40 10", 5s));
        type("close");
    });
    EXPECT_EQ(result, IdCancel);
    ASSERT_FALSE(transcript.empty());
    EXPECT_EQ(transcript.back(), "END 2");
}

TEST_F(ConsoleRun, OwnedBoxServesRequestsFromOtherThreadsAndRefusesTheDialogsInputs) {
    ConsoleDialog dialog;
    dialog.ownedBoxFirst = true;
    int result = run(dialog, [&](LineReader& lines) {
        ASSERT_TRUE(lines.waitFor("WINDOW", 5s));
        type("press 10");
        ASSERT_TRUE(lines.waitFor("BOX \"Window\" \"owned\"", 5s));
        // Served by the box's loop, before the box is answered.
        ASSERT_TRUE(lines.waitFor("PROGRESS 40 50", 5s));
        type("close");
        ASSERT_TRUE(lines.waitFor("ERROR \"close: a message box is open; answer it with ok first\"", 5s));
        type("ok");
        type("command cancel");
    });
    EXPECT_EQ(result, IdCancel);
    EXPECT_EQ(dialog.closeRequests, 0);
}

TEST_F(ConsoleRun, EndOfInputAnswersTheOpenBoxAndClosesUntilTheDialogAgrees) {
    ConsoleDialog dialog;
    dialog.ownedBoxFirst = true;
    dialog.refuseCloses = 1;
    auto started = std::chrono::steady_clock::now();
    int result = run(dialog, [&](LineReader& lines) {
        ASSERT_TRUE(lines.waitFor("WINDOW", 5s));
        type("press 10");
        ASSERT_TRUE(lines.waitFor("BOX", 5s));
        endInput();
    });
    EXPECT_EQ(result, IdCancel);
    EXPECT_EQ(dialog.closeRequests, 2);
    // The second request waited for the repeat.
    EXPECT_GE(std::chrono::steady_clock::now() - started, ConsoleFrontEnd::CloseRepeat);
}

TEST_F(ConsoleRun, InputThatEndsBeforeAnythingHappensEndsTheDialog) {
    ConsoleDialog dialog;
    dialog.ownedBoxFirst = true;
    endInput();
    int result = run(dialog, [&](LineReader&) {});
    EXPECT_EQ(result, IdCancel);
}

TEST(ConsoleCommand, ParsesEachInputForm) {
    using Kind = ConsoleCommand::Kind;
    struct Case {
        std::string line;
        Kind kind;
        std::string argument;
    };
    const Case cases[] = {
        {"ok", Kind::AnswerBox, ""},
        {"  OK  ", Kind::AnswerBox, ""},
        {"press 1008", Kind::Press, "1008"},
        {"press Update", Kind::Press, "Update"},
        {"press F/W Version ", Kind::Press, "F/W Version"},
        {"press \"a \\\"b\\\"\\x41\"", Kind::Press, "a \"b\"A"},
        {"command ok", Kind::OkCommand, ""},
        {"Command Cancel", Kind::CancelCommand, ""},
        {"close", Kind::Close, ""},
        {"file /media/card/x.bin", Kind::ChooseFile, "/media/card/x.bin"},
        {"cancel", Kind::CancelFile, ""},
        {"", Kind::Nothing, ""},
        {"# note", Kind::Nothing, ""},
        {"press", Kind::Invalid, ""},
        {"press \"open", Kind::Invalid, ""},
        {"press \"a\" b", Kind::Invalid, ""},
        {"press \"\\q\"", Kind::Invalid, ""},
        {"ok now", Kind::Invalid, ""},
        {"command", Kind::Invalid, ""},
        {"shutdown", Kind::Invalid, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        auto command = platform::console::parseConsoleCommand(c.line);
        EXPECT_EQ(command.kind, c.kind);
        EXPECT_EQ(command.argument, c.argument);
        EXPECT_EQ(command.error.empty(), c.kind != Kind::Invalid);
    }
}

TEST(ConsoleText, QuotedTextReadsBackUnchanged) {
    for (std::wstring text : {std::wstring(L"Ready"), std::wstring(L"2.3.2.01.07\r"), std::wstring(L"a \"b\" \\ c\n\t"),
                              std::wstring(L"\x01\x7f"), std::wstring(L"Grüße")}) {
        std::string quoted = platform::console::quote(text);
        EXPECT_EQ(quoted.find('\n'), std::string::npos);
        std::string back;
        std::string error;
        ASSERT_TRUE(platform::console::readArgument(quoted, 0, back, error)) << error;
        EXPECT_EQ(back, platform::toUtf8(text));
    }
}
