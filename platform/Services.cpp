#include "platform/Services.h"

namespace platform {

namespace {
Services& current() {
    static Services installed;
    return installed;
}
}  // namespace

Services& services() { return current(); }

void install(const Services& replacement) {
    Services& s = current();
    s.serial = replacement.serial ? replacement.serial : &hostSerialPorts();
    s.clock = replacement.clock ? replacement.clock : &hostClock();
    s.files = replacement.files ? replacement.files : &hostFiles();
    s.messageBoxes = replacement.messageBoxes ? replacement.messageBoxes : &stderrMessageBoxes();
}

void installHostServices() { install(Services{}); }

SerialPorts& serialPorts() { return current().serial ? *current().serial : hostSerialPorts(); }
Clock& clock() { return current().clock ? *current().clock : hostClock(); }
Files& files() { return current().files ? *current().files : hostFiles(); }
MessageBoxPresenter& messageBoxes() {
    return current().messageBoxes ? *current().messageBoxes : stderrMessageBoxes();
}

}  // namespace platform

int MessageBox(CWnd* owner, const std::wstring& text, const std::wstring& title, uint32_t type) {
    return platform::messageBoxes().show(owner, text, title, type);
}
