#include "updatetool/ui/ProgramState.h"

std::atomic<int> statusDirty{0};
std::atomic<int> updateBusy{0};
std::atomic<uint8_t> workerDone{0};

std::unique_ptr<platform::FileHandle> loaderFile;
std::unique_ptr<platform::FileHandle> firmwareFile;
