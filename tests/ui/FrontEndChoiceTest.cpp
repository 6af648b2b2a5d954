#include <gtest/gtest.h>

#include "platform/ui/FrontEndChoice.h"

using platform::ui::chooseFrontEnd;
using platform::ui::FrontEndKind;

TEST(FrontEndChoice, VariableAndArgumentsChooseAndDisplayDecidesOtherwise) {
    struct Case {
        const char* variable;
        std::vector<std::string> arguments;
        bool display;
        bool valid;
        FrontEndKind kind;
        bool explicitChoice;
    };
    const Case cases[] = {
        {nullptr, {}, true, true, FrontEndKind::Window, false},
        {nullptr, {}, false, true, FrontEndKind::Console, false},
        {"", {}, false, true, FrontEndKind::Console, false},
        {"console", {}, true, true, FrontEndKind::Console, true},
        {"window", {}, false, true, FrontEndKind::Window, true},
        {"window", {"--console"}, true, true, FrontEndKind::Console, true},
        {nullptr, {"--window"}, false, true, FrontEndKind::Window, true},
        {"tty", {}, true, false, FrontEndKind::Window, false},
        {nullptr, {"--verbose"}, true, false, FrontEndKind::Window, false},
        {nullptr, {"console"}, true, false, FrontEndKind::Window, false},
    };
    for (const auto& c : cases) {
        auto choice = chooseFrontEnd("FERROVANE_FRONTEND", c.variable, c.arguments, c.display);
        SCOPED_TRACE(c.variable != nullptr ? c.variable : "(unset)");
        EXPECT_EQ(choice.valid, c.valid);
        if (!c.valid) {
            EXPECT_FALSE(choice.error.empty());
            continue;
        }
        EXPECT_EQ(choice.kind, c.kind);
        EXPECT_EQ(choice.explicitChoice, c.explicitChoice);
    }
}

TEST(FrontEndChoice, BadValueNamesTheVariable) {
    auto choice = chooseFrontEnd("FERROVANE_FRONTEND", "tty", {}, true);
    EXPECT_NE(choice.error.find("FERROVANE_FRONTEND"), std::string::npos);
    EXPECT_NE(choice.error.find("tty"), std::string::npos);
}
