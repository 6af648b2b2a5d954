#include "updatetool/ui/CUpdateToolApp.h"

#include "updatetool/ui/CUpdateToolDlg.h"

bool CUpdateToolApp::StartUp() {
    CUpdateToolDlg dialog;
    mainWindow = &dialog;
    dialog.DoModal();
    mainWindow = nullptr;
    // false: no message loop of the application's own follows.
    return false;
}
