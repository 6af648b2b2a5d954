// The update tool's dialog on the test front end, with the receiver link on virtual time.
#pragma once

#include "tests/support/LinkFixture.h"
#include "tests/support/TestFrontEnd.h"

namespace testing_support {

class DialogFixture : public LinkFixture {
protected:
    void SetUp() override;
    void TearDown() override;
    // Replaces the receiver; the dialog's boxes still go to the test front end.
    void useReceiverWith(const sim::Options& options);
    // Runs the dialog modally; driver acts inside the modal run. Returns DoModal's result.
    int runDialog(std::function<void(TestFrontEnd&)> driver);

    TestFrontEnd ui;
};

}  // namespace testing_support
