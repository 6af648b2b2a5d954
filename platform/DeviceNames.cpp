#include "platform/DeviceNames.h"

#include <cstdlib>
#include <cwctype>
#include <filesystem>

namespace platform {

std::string toUtf8(const std::wstring& text) {
    std::string out;
    for (wchar_t wc : text) {
        auto c = static_cast<uint32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring fromUtf8(const std::string& text) {
    std::wstring out;
    size_t i = 0;
    while (i < text.size()) {
        auto b = static_cast<unsigned char>(text[i]);
        uint32_t c = 0xFFFD;
        size_t extra = 0;
        if (b < 0x80) { c = b; }
        else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; extra = 1; }
        else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; extra = 2; }
        else if ((b & 0xF8) == 0xF0) { c = b & 0x07; extra = 3; }
        else { out += L'\uFFFD'; ++i; continue; }
        if (extra && i + extra >= text.size()) {  // truncated sequence
            out += L'\uFFFD';
            break;
        }
        bool ok = true;
        for (size_t k = 1; k <= extra; ++k) {
            auto cb = static_cast<unsigned char>(text[i + k]);
            if ((cb & 0xC0) != 0x80) { ok = false; break; }
            c = (c << 6) | (cb & 0x3F);
        }
        if (!ok) { out += L'\uFFFD'; ++i; continue; }
        out += static_cast<wchar_t>(c);
        i += extra + 1;
    }
    return out;
}

std::string hostSerialPath(const std::wstring& deviceName) {
    // "COMn:" with n from 1 to 255, any case.
    std::wstring name = deviceName;
    if (name.size() < 5 || std::towupper(name[0]) != L'C' || std::towupper(name[1]) != L'O' ||
        std::towupper(name[2]) != L'M' || name.back() != L':')
        return {};
    std::wstring digits = name.substr(3, name.size() - 4);
    if (digits.empty() || digits.size() > 3) return {};
    unsigned n = 0;
    for (wchar_t d : digits) {
        if (d < L'0' || d > L'9') return {};
        n = n * 10 + static_cast<unsigned>(d - L'0');
    }
    if (n < 1 || n > 255) return {};
    const std::string var = "DEVICE_COM" + std::to_string(n);
    if (const char* override = std::getenv(var.c_str()); override && *override) return override;
    return "/dev/ttyS" + std::to_string(n - 1);
}

std::string hostRootFolder() {
    std::string root;
    if (const char* r = std::getenv("DEVICE_ROOT"); r && *r) {
        root = r;
    } else {
        const char* home = std::getenv("HOME");
        root = std::string(home && *home ? home : "/tmp") + "/.local/share/device-root";
    }
    std::error_code ignored;
    std::filesystem::create_directories(root, ignored);
    return root;
}

std::string hostFilePath(const std::wstring& deviceFileName) {
    std::string name = toUtf8(deviceFileName);
    for (char& c : name)
        if (c == '\\') c = '/';
    while (!name.empty() && name.front() == '/') name.erase(0, 1);
    return hostRootFolder() + "/" + name;
}

}  // namespace platform
