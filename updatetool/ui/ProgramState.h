// Program-wide flags and file handles shared between the dialog, the repair sequence and the
// update worker. Each flag is one value written and read whole.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/File.h"

extern std::atomic<int> statusDirty;    // 0 or 1: statusText changed and is to be shown
extern std::atomic<int> updateBusy;     // 0 or 1: an update worker runs
extern std::atomic<uint8_t> workerDone; // non-zero: the user may start again

extern std::unique_ptr<platform::FileHandle> loaderFile;    // null: no handle
extern std::unique_ptr<platform::FileHandle> firmwareFile;  // null: no handle
