// The dialog layer on its own: a small dialog of its own template on the test front end.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/ui/CComboBox.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CFileDialog.h"
#include "platform/ui/CProgressCtrl.h"
#include "platform/ui/FrontEnd.h"
#include "tests/support/TestFrontEnd.h"

using namespace platform::ui;
using testing_support::TestFrontEnd;

namespace {

constexpr int GoButton = 10;
constexpr int HiddenButton = 11;
constexpr int OffButton = 12;
constexpr int NameEdit = 20;
constexpr int Choice = 30;
constexpr int Plain = 31;
constexpr int Bar = 40;

const DialogTemplate& smallTemplate() {
    static const DialogTemplate t = [] {
        DialogTemplate d;
        d.id = 7;
        d.caption = L"Small";
        d.rect = {0, 0, 100, 60};
        d.styles = DialogStyle::Visible;
        d.controls = {
            {GoButton, ControlKind::PushButton, L"&Go", {1, 1, 20, 10}, ControlStyle::TabStop, true, true},
            {HiddenButton, ControlKind::PushButton, L"Hidden", {1, 12, 20, 10}, 0, false, true},
            {OffButton, ControlKind::PushButton, L"Off", {1, 24, 20, 10}, 0, true, false},
            {NameEdit, ControlKind::Edit, L"initial", {30, 1, 40, 10}, ControlStyle::Border, true, true},
            {Choice, ControlKind::ComboBox, L"", {30, 12, 40, 30}, ControlStyle::Sorted | ControlStyle::DropDown, true, true},
            {Plain, ControlKind::ComboBox, L"", {30, 24, 40, 30}, ControlStyle::DropDown, true, true},
            {Bar, ControlKind::ProgressBar, L"", {1, 40, 90, 8}, 0, true, true},
        };
        d.initData = {{Choice, L"pear"}, {Choice, L"Apple"}, {Choice, L"fig"}};
        return d;
    }();
    return t;
}

class SmallDialog : public CDialog {
public:
    SmallDialog() : CDialog(smallTemplate()) {
        OnButton(GoButton, [this] { ++goPresses; });
    }
    void DoDataExchange(CDataExchange& dx) override {
        ++exchanges;
        dx.Text(NameEdit, name);
        dx.ComboText(Choice, choice);
    }
    bool OnDialogInit() override {
        CDialog::OnDialogInit();
        if (endDuringInit) EndDialog(42);
        return true;
    }

    std::wstring name = L"field";
    std::wstring choice = L"FIG";
    int goPresses = 0;
    int exchanges = 0;
    bool endDuringInit = false;
};

class DialogLayer : public ::testing::Test {
protected:
    void SetUp() override { installFrontEnd(&ui); }
    void TearDown() override { installFrontEnd(nullptr); }
    TestFrontEnd ui;
};

}  // namespace

TEST_F(DialogLayer, InitialisationFillsTheSortedComboAndLoadsTheFields) {
    SmallDialog dialog;
    ui.onModal([](TestFrontEnd& ui) {
        EXPECT_EQ(ui.control(Choice).items, (std::vector<std::wstring>{L"Apple", L"fig", L"pear"}));
        // The field matches an item whatever its case.
        EXPECT_EQ(ui.control(Choice).selected, 1);
        EXPECT_EQ(ui.text(Choice), L"fig");
        EXPECT_EQ(ui.text(NameEdit), L"field");
        ui.cancelCommand();
    });
    EXPECT_EQ(dialog.DoModal(), IdCancel);
    EXPECT_EQ(ui.logOf({"create"}), std::vector<std::string>{"create 7 shown"});
}

TEST_F(DialogLayer, OkCommandCopiesControlsIntoFieldsAndCancelDoesNot) {
    struct Case {
        const char* name;
        void (TestFrontEnd::*act)();
        int result;
        std::wstring nameAfter;
    };
    const Case cases[] = {
        {"OK", &TestFrontEnd::okCommand, IdOk, L"typed"},
        {"Cancel", &TestFrontEnd::cancelCommand, IdCancel, L"field"},
        {"close", &TestFrontEnd::closeRequest, IdCancel, L"field"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmallDialog dialog;
        ui.onModal([&](TestFrontEnd& ui) {
            dialog.GetDlgItem(NameEdit)->SetWindowText(L"typed");
            (ui.*c.act)();
        });
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(dialog.name, c.nameAfter);
    }
}

TEST_F(DialogLayer, ComboTextThatMatchesNoItemGoesIntoTheEditPart) {
    SmallDialog dialog;
    ui.onModal([&](TestFrontEnd& ui) {
        dialog.choice = L"kiwi";
        dialog.UpdateData(false);
        EXPECT_EQ(ui.control(Choice).selected, -1);
        EXPECT_EQ(ui.text(Choice), L"kiwi");
        auto* combo = dynamic_cast<CComboBox*>(dialog.GetDlgItem(Choice));
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->SelectString(L"APPLE"), 0);
        dialog.UpdateData(true);
        EXPECT_EQ(dialog.choice, L"Apple");
        EXPECT_EQ(combo->SelectString(L"plum"), -1);
        EXPECT_EQ(combo->GetCurSel(), 0);
        ui.cancelCommand();
    });
    dialog.DoModal();
}

TEST_F(DialogLayer, UnsortedComboKeepsTheOrderOfAdding) {
    SmallDialog dialog;
    ui.onModal([&](TestFrontEnd& ui) {
        auto* combo = dynamic_cast<CComboBox*>(dialog.GetDlgItem(Plain));
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->AddString(L"b"), 0);
        EXPECT_EQ(combo->AddString(L"a"), 1);
        EXPECT_EQ(combo->SetCurSel(1), 1);
        EXPECT_EQ(ui.text(Plain), L"a");
        EXPECT_EQ(combo->SetCurSel(5), -1);
        EXPECT_EQ(combo->GetCurSel(), -1);
        ui.cancelCommand();
    });
    dialog.DoModal();
}

TEST_F(DialogLayer, ProgressBarKeepsItsPositionInRangeAndStartsOverPastTheEnd) {
    SmallDialog dialog;
    ui.onModal([&](TestFrontEnd& ui) {
        auto* bar = dynamic_cast<CProgressCtrl*>(dialog.GetDlgItem(Bar));
        ASSERT_NE(bar, nullptr);
        bar->SetRange(0, 100);
        EXPECT_EQ(bar->SetPos(150), 0);
        EXPECT_EQ(bar->GetPos(), 100);
        bar->SetPos(80);
        EXPECT_EQ(bar->SetStep(15), 10);
        EXPECT_EQ(bar->StepIt(), 80);
        EXPECT_EQ(bar->GetPos(), 95);
        EXPECT_EQ(bar->StepIt(), 95);
        EXPECT_EQ(bar->GetPos(), 0);
        bar->SetPos(60);
        bar->SetRange(0, 50);
        EXPECT_EQ(ui.control(Bar).position, 50);
        ui.cancelCommand();
    });
    dialog.DoModal();
    EXPECT_EQ(ui.logOf({"progress"}),
              (std::vector<std::string>{"progress 40 100", "progress 40 80", "progress 40 95", "progress 40 0",
                                        "progress 40 60", "progress 40 50"}));
}

TEST_F(DialogLayer, OnlyShownEnabledButtonsReachTheirHandlers) {
    SmallDialog dialog;
    ui.onModal([&](TestFrontEnd& ui) {
        EXPECT_TRUE(ui.press(GoButton));
        EXPECT_FALSE(ui.press(HiddenButton));
        EXPECT_FALSE(ui.press(OffButton));
        dialog.GetDlgItem(GoButton)->EnableWindow(false);
        EXPECT_FALSE(ui.press(GoButton));
        ui.cancelCommand();
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.goPresses, 1);
}

TEST_F(DialogLayer, DialogEndedDuringInitialisationNeverEntersTheLoop) {
    SmallDialog dialog;
    dialog.endDuringInit = true;
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_TRUE(ui.logOf({"modal"}).empty());
    EXPECT_EQ(ui.logOf({"destroy"}).size(), 1u);
}

TEST_F(DialogLayer, CloseRequestPostedFromAnotherThreadArrivesThroughTheLoop) {
    SmallDialog dialog;
    ui.onModal([&](TestFrontEnd& ui) {
        std::thread poster([&] { dialog.PostCloseRequest(); });
        poster.join();
        EXPECT_FALSE(ui.ended());
        EXPECT_EQ(ui.serve(), 1);
        EXPECT_TRUE(ui.ended());
    });
    EXPECT_EQ(dialog.DoModal(), IdCancel);
}

TEST_F(DialogLayer, ControlCallsFromAnotherThreadRunOnTheWindowThread) {
    SmallDialog dialog;
    ui.onModal([&](TestFrontEnd& ui) {
        std::atomic<bool> finished{false};
        std::wstring readBack;
        std::thread worker([&] {
            dialog.GetDlgItem(NameEdit)->SetWindowText(L"from worker");
            readBack = dialog.GetDlgItem(NameEdit)->GetWindowText();
            finished = true;
        });
        EXPECT_TRUE(ui.serveUntil([&] { return finished.load(); }, std::chrono::seconds(20)));
        worker.join();
        EXPECT_EQ(readBack, L"from worker");
        EXPECT_EQ(ui.text(NameEdit), L"from worker");
        ui.cancelCommand();
    });
    dialog.DoModal();
}

TEST(FileDialogFilter, SplitsDescriptionsFromPatterns) {
    struct Case {
        std::wstring filter;
        std::vector<FileFilter> filters;
        bool wellFormed;
    };
    const Case cases[] = {
        {L"Binary Files (*.bin)|*.bin|All Files (*.*)|*.*||",
         {{L"Binary Files (*.bin)", L"*.bin"}, {L"All Files (*.*)", L"*.*"}},
         true},
        {L"Hitachi Files (*.s)|*.s|Motorola Files (*.s3)|*.s3|All Files (*.*)|*.*||",
         {{L"Hitachi Files (*.s)", L"*.s"}, {L"Motorola Files (*.s3)", L"*.s3"}, {L"All Files (*.*)", L"*.*"}},
         true},
        {L"Text|*.txt", {{L"Text", L"*.txt"}}, true},
        {L"Text|*.txt||ignored|*.x||", {{L"Text", L"*.txt"}}, true},
        {L"Dangling|*.a|Description only||", {{L"Dangling", L"*.a"}}, false},
        {L"", {}, true},
    };
    for (const auto& c : cases) {
        bool wellFormed = !c.wellFormed;
        EXPECT_EQ(CFileDialog::ParseFilter(c.filter, wellFormed), c.filters);
        EXPECT_EQ(wellFormed, c.wellFormed);
    }
}
