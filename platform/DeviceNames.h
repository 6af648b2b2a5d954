// The one place where the device's names meet the host's.
//
//   COMn:   -> $DEVICE_COMn when set (a pty, /dev/ttyUSB0, /dev/serial/by-id/...),
//              otherwise /dev/ttyS(n-1), as Wine maps them.
//   root    -> $DEVICE_ROOT when set, otherwise $HOME/.local/share/device-root.
//              "name" and "\name" both name a file in it; "\a\b" names a/b.
//
// Environment variables travel to a program that another one starts, so the mapping does too.
#pragma once

#include <string>

namespace platform {

// Host path for a device name such as "COM2:"; empty when the name is not a COMn: name.
std::string hostSerialPath(const std::wstring& deviceName);
// Host folder standing for the device's root folder (created on first use).
std::string hostRootFolder();
// Host path for a device file name.
std::string hostFilePath(const std::wstring& deviceFileName);

std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);

}  // namespace platform
