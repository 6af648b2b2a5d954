// Ferrovane on the console, driven through its standard input and output, against the
// receiver-sim program on a pseudo-terminal, in real time.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

#include "tests/support/ChildProcess.h"
#include "tests/support/SimProcess.h"
#include "tests/ui/LineReader.h"

using testing_support::ChildProcess;
using testing_support::LineReader;
using testing_support::SimProcess;
using namespace std::chrono_literals;

namespace {

const std::string warningLine =
    "BOX \"Warning\" \"In order to upgrade the GPS-Firmware correctly, please stop ALL applications and apply "
    "external power to the device. It may take 5 minutes for upgrading.\"";

class FerrovaneConsole : public ::testing::Test {
protected:
    void Start(const std::vector<std::string>& simArguments) {
        sim = std::make_unique<SimProcess>(RECEIVER_SIM_PATH, simArguments);
        ASSERT_TRUE(sim->started());
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        root = std::filesystem::temp_directory_path() / ("ferrovane-root-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root);
        stderrPath = root / "stderr.txt";
        program = std::make_unique<ChildProcess>(FERROVANE_PATH, std::vector<std::string>{},
                                                 std::vector<std::pair<std::string, std::string>>{
                                                     {"FERROVANE_FRONTEND", "console"},
                                                     {"DEVICE_COM2", sim->ptyPath()},
                                                     {"DEVICE_ROOT", root.string()},
                                                 },
                                                 stderrPath.string());
        ASSERT_TRUE(program->started());
        lines = std::make_unique<LineReader>(program->outputFd());
    }
    void TearDown() override {
        program.reset();
        if (sim) sim->stop();
        sim.reset();
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    std::string Transcript() const { return lines ? lines->transcriptText() : std::string(); }

    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<ChildProcess> program;
    std::unique_ptr<LineReader> lines;
    std::filesystem::path root;
    std::filesystem::path stderrPath;
};

}  // namespace

TEST_F(FerrovaneConsole, WarnsShowsTheVersionAndReadyAndEndsOnEachWayOfClosing) {
    struct Case {
        const char* input;  // nullptr: the end of input
        std::string end;
    };
    const Case cases[] = {
        {"close", "END 2"},
        {"command ok", "END 1"},
        {"command cancel", "END 2"},
        {nullptr, "END 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input != nullptr ? c.input : "end of input");
        Start({"--version", "2.2.0.07.01"});
        ASSERT_TRUE(lines->waitFor("BOX \"Warning\"", 10s)) << Transcript();
        program->writeLine("ok");
        ASSERT_TRUE(lines->waitFor("TEXT 1022 \"2.2.0.07.01\"", 20s)) << Transcript();
        // The hidden buttons stay out of reach, as in the window.
        program->writeLine("press Repair");
        ASSERT_TRUE(lines->waitFor("ERROR", 5s)) << Transcript();
        if (c.input != nullptr) {
            program->writeLine(c.input);
        } else {
            program->closeInput();
        }
        ASSERT_TRUE(lines->waitFor("END", 10s)) << Transcript();
        EXPECT_EQ(program->waitExit(10s), 0);
        lines->drain(2s);
        std::vector<std::string> expected = {
            "DIALOG 102 \"Ferrovane\"",
            warningLine,
            "WINDOW 102 1",
            "TEXT 1022 \"\"",
            "TEXT 1023 \" 2.4.13.03.10\"",
            "TEXT 1010 \"Ready\"",
            "TEXT 1022 \"2.2.0.07.01\"",
            "ERROR \"press Repair: button 1021 is hidden\"",
            c.end,
        };
        EXPECT_EQ(lines->transcript(), expected) << SimProcess::readFile(stderrPath.string());
        TearDown();
    }
}
