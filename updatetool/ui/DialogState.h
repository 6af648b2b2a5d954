// The program-wide dialog state that the worker and the repair sequence reach.
#pragma once

class CUpdateToolDlg;
class CProgressCtrl;

// The one main dialog, from its initialisation until it is destroyed; null otherwise.
extern CUpdateToolDlg* mainDialog;
// Control 1013's progress-bar object; set when an update starts.
extern CProgressCtrl* progressBar;
