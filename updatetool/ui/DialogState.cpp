#include "updatetool/ui/DialogState.h"

CUpdateToolDlg* mainDialog = nullptr;
CProgressCtrl* progressBar = nullptr;
