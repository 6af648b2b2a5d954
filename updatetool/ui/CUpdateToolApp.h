// The update tool's application object: its start-up runs the one dialog, and the program
// ends when the dialog ends.
#pragma once

#include "platform/ui/CWinApp.h"

class CUpdateToolApp : public CWinApp {
public:
    bool StartUp() override;
};
