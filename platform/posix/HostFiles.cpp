// Files of the device's root folder as files of a host folder (see DeviceNames.h).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "platform/DeviceNames.h"
#include "platform/Services.h"

namespace platform {

namespace {

class HostFile : public FileHandle {
public:
    explicit HostFile(int fd) : fd_(fd) {}
    ~HostFile() override { ::close(fd_); }

    bool read(void* buffer, uint32_t count, uint32_t& bytesRead) override {
        bytesRead = 0;
        auto* out = static_cast<uint8_t*>(buffer);
        while (bytesRead < count) {
            ssize_t n = ::read(fd_, out + bytesRead, count - bytesRead);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return false;
            if (n == 0) break;
            bytesRead += static_cast<uint32_t>(n);
        }
        return true;
    }

    bool write(const void* data, uint32_t count, uint32_t& bytesWritten) override {
        bytesWritten = 0;
        const auto* in = static_cast<const uint8_t*>(data);
        while (bytesWritten < count) {
            ssize_t n = ::write(fd_, in + bytesWritten, count - bytesWritten);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            bytesWritten += static_cast<uint32_t>(n);
        }
        return true;
    }

    uint32_t size() override {
        struct stat st {};
        if (::fstat(fd_, &st) != 0 || st.st_size > 0xFFFFFFFEll) return 0xFFFFFFFFu;
        return static_cast<uint32_t>(st.st_size);
    }

private:
    int fd_;
};

// No sharing: an exclusive advisory lock, refused while another opener holds the file.
std::unique_ptr<FileHandle> openLocked(const std::string& path, int flags, bool truncate = false) {
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    if (truncate) {
        if (::ftruncate(fd, 0) != 0) {
            ::close(fd);
            return nullptr;
        }
    }
    return std::make_unique<HostFile>(fd);
}

class HostFiles : public Files {
public:
    std::unique_ptr<FileHandle> openForReading(const std::wstring& name) override {
        const std::string path = hostFilePath(name);
        if (std::filesystem::is_directory(path)) return nullptr;
        return openLocked(path, O_RDONLY);
    }

    std::unique_ptr<FileHandle> create(const std::wstring& name) override {
        // Truncate only after the lock is ours, so a file in use keeps its content.
        return openLocked(hostFilePath(name), O_WRONLY | O_CREAT, true);
    }

    bool copy(const std::wstring& from, const std::wstring& to) override {
        std::error_code error;
        return std::filesystem::copy_file(hostFilePath(from), hostFilePath(to),
                                          std::filesystem::copy_options::overwrite_existing, error);
    }

    bool remove(const std::wstring& name) override {
        return ::unlink(hostFilePath(name).c_str()) == 0;
    }
};

}  // namespace

Files& hostFiles() {
    static HostFiles files;
    return files;
}

}  // namespace platform
