#include "tests/support/LinkFixture.h"

#include "updatetool/link/FirmwareVersion.h"
#include "updatetool/link/ReturnToNmea.h"
#include "updatetool/ui/ProgramState.h"

namespace testing_support {

void LinkFixture::useReceiver(const sim::Options& options) {
    ReleasePortsAndFiles();
    ports = std::make_unique<FakeSerialPorts>(clock, options);
    platform::install({ports.get(), &clock, nullptr, &boxes});
}

void LinkFixture::SetUp() {
    sim::Options options;
    useReceiver(options);
    currentVersion.clear();
    statusDirty = 0;
    updateBusy = 0;
    workerDone = 0;
}

void LinkFixture::TearDown() {
    ReleasePortsAndFiles();
    platform::installHostServices();
}

std::vector<std::string> LinkFixture::writtenStrings() const {
    std::vector<std::string> out;
    for (const auto& w : ports->writes()) out.emplace_back(w.bytes.begin(), w.bytes.end());
    return out;
}

}  // namespace testing_support
