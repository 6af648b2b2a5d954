// A test fixture that puts the receiver link on virtual time: the fake "COM2:" wired to an
// in-process simulated receiver, and every message box recorded.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/Services.h"
#include "tests/support/FakeSerialPorts.h"
#include "tests/support/RecordingMessageBoxes.h"
#include "tests/support/VirtualClock.h"

namespace testing_support {

class LinkFixture : public ::testing::Test {
protected:
    // Builds the fake port around a receiver with these options; call again to replace it.
    void useReceiver(const sim::Options& options);
    void SetUp() override;
    void TearDown() override;

    std::vector<std::wstring> boxTexts() const { return boxes.texts(); }
    // The bytes the tool wrote, in order, as one string per write.
    std::vector<std::string> writtenStrings() const;

    VirtualClock clock;
    RecordingMessageBoxes boxes;
    std::unique_ptr<FakeSerialPorts> ports;
};

}  // namespace testing_support
