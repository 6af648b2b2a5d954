// The front-end tests' own small dialog and a DialogEvents that records what the front end
// delivers.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ui/ControlState.h"
#include "platform/ui/DialogEvents.h"
#include "platform/ui/DialogTemplate.h"

namespace window_tests {

namespace TestIds {
constexpr int Status = 1001;
constexpr int Edit = 1002;
constexpr int Go = 1003;      // the default button
constexpr int Other = 1004;   // disabled
constexpr int Progress = 1005;
constexpr int Combo = 1006;   // hidden and disabled
}  // namespace TestIds

// Caption "Front end test", 150 x 80 units, a close box and a caption OK button.
const platform::ui::DialogTemplate& testTemplate();
// The controls' states as the dialog layer would start them.
std::vector<platform::ui::ControlState> initialStates(const platform::ui::DialogTemplate& dialogTemplate);

class RecordingEvents : public platform::ui::DialogEvents {
public:
    // Everything but timer ticks, in order: "button 1003", "ok", "cancel", "close", "edit 2 ab -1".
    std::vector<std::string> log;
    std::map<uint32_t, int> ticks;
    std::function<void(uint32_t)> onTimer;

    void buttonPressed(int controlId) override;
    void okCommand() override;
    void cancelCommand() override;
    void closeRequest() override;
    void timerFired(uint32_t timerId) override;
    void textEdited(int controlIndex, const std::wstring& text, int selected) override;
};

}  // namespace window_tests
