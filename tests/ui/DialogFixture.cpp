#include "tests/ui/DialogFixture.h"

#include "platform/ui/FrontEnd.h"
#include "updatetool/ui/CUpdateToolDlg.h"

namespace testing_support {

void DialogFixture::SetUp() {
    LinkFixture::SetUp();
    platform::ui::installFrontEnd(&ui);
}

void DialogFixture::TearDown() {
    platform::ui::installFrontEnd(nullptr);
    LinkFixture::TearDown();
}

void DialogFixture::useReceiverWith(const sim::Options& options) {
    useReceiver(options);
    platform::ui::installFrontEnd(&ui);
}

int DialogFixture::runDialog(std::function<void(TestFrontEnd&)> driver) {
    ui.onModal(std::move(driver));
    CUpdateToolDlg dialog;
    return dialog.DoModal();
}

}  // namespace testing_support
