// Files in the device's root folder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class FileHandle {
public:
    virtual ~FileHandle() = default;  // closing = destroying
    // bytesRead always set; a read at the end of the file is success with 0.
    virtual bool read(void* buffer, uint32_t count, uint32_t& bytesRead) = 0;
    virtual bool write(const void* data, uint32_t count, uint32_t& bytesWritten) = 0;
    // Size in bytes, or UINT32_MAX when it cannot be read.
    virtual uint32_t size() = 0;
};

class Files {
public:
    virtual ~Files() = default;
    // Device file names: "name" and "\name" both name a file in the root folder.
    // Open an existing file for reading, no sharing. Null on failure.
    virtual std::unique_ptr<FileHandle> openForReading(const std::wstring& name) = 0;
    // Create for writing, truncating an existing file, no sharing. Null on failure.
    virtual std::unique_ptr<FileHandle> create(const std::wstring& name) = 0;
    virtual bool copy(const std::wstring& from, const std::wstring& to) = 0;
    virtual bool remove(const std::wstring& name) = 0;
};

}  // namespace platform
