// Modal message boxes: the calling thread blocks until the user closes the box.
#pragma once

#include <cstdint>
#include <string>

class CWnd;

namespace platform {

namespace MessageBoxType {
constexpr uint32_t Ok = 0x00;
constexpr uint32_t IconStop = 0x10;
}  // namespace MessageBoxType

constexpr int IdOk = 1;

class MessageBoxPresenter {
public:
    virtual ~MessageBoxPresenter() = default;
    // owner is null for a box owned by no window. Returns the id of the button pressed.
    virtual int show(CWnd* owner, const std::wstring& text, const std::wstring& title, uint32_t type) = 0;
};

}  // namespace platform

// The device's message box call, by role: text, title, type; owner may be null.
int MessageBox(CWnd* owner, const std::wstring& text, const std::wstring& title,
               uint32_t type = platform::MessageBoxType::Ok);
