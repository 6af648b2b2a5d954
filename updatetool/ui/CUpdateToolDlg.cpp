#include "updatetool/ui/CUpdateToolDlg.h"

#include "platform/MessageBox.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CFileDialog.h"
#include "platform/ui/SystemIdle.h"
#include "updatetool/link/FirmwareVersion.h"
#include "updatetool/link/GpsPort.h"
#include "updatetool/link/ReturnToNmea.h"
#include "updatetool/link/SerialLink.h"
#include "updatetool/ui/DialogState.h"
#include "updatetool/ui/ProgramState.h"
#include "updatetool/ui/Resource.h"
#include "updatetool/ui/UpdateToolTemplate.h"

const wchar_t* const StartWarningText =
    L"In order to upgrade the GPS-Firmware correctly, please stop ALL applications and apply external power "
    L"to the device. It may take 5 minutes for upgrading.";

CUpdateToolDlg::CUpdateToolDlg(CWnd* parent)
    : CDialog(UpdateToolDialogTemplate(), parent), icon_(IDR_MAINFRAME) {
    OnButton(IDC_LOADER_FILE, [this] { OnLoaderFile(); });
    OnButton(IDC_TARGET_FILE, [this] { OnTargetFile(); });
    OnButton(IDC_FW_VERSION, [this] { OnFwVersion(); });
    OnButton(IDC_REPAIR, [this] { OnRepair(); });
}

CUpdateToolDlg::~CUpdateToolDlg() {
    // Nothing may reach a dialog that is gone.
    if (mainDialog == this) mainDialog = nullptr;
}

void CUpdateToolDlg::SetStatusText(const std::wstring& text) {
    std::lock_guard lock(statusMutex_);
    statusText = text;
}

std::wstring CUpdateToolDlg::StatusText() const {
    std::lock_guard lock(statusMutex_);
    return statusText;
}

void CUpdateToolDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    dx.Text(IDC_LOADER_PATH, loaderPathText);
    {
        std::lock_guard lock(statusMutex_);
        dx.Text(IDC_STATUS, statusText);
    }
    dx.Control(IDC_PORT, portChoice);
    dx.ComboText(IDC_PORT, portChoiceText);
    dx.Text(IDC_CURRENT_VERSION, currentVersionText);
    dx.Text(IDC_NEW_VERSION, newVersionText);
}

bool CUpdateToolDlg::OnDialogInit() {
    SetWindowPos({.topMost = true, .x = 10, .y = 10, .width = 297, .height = 202});
    ShowWindow(false);
    ::MessageBox(this, StartWarningText, L"Warning");
    ShowWindow(true);
    CDialog::OnDialogInit();
    SetIcon(icon_, true);
    SetIcon(icon_, false);
    CenterWindow();
    UpdateData(true);
    UpdateData(false);
    mainDialog = this;
    GetDlgItem(IDC_STATUS)->SetWindowText(L"Ready");
    SetTimer(StatusTimerId, StatusTimerMs);
    // Blocks the dialog for as long as the read takes, up to its time limit.
    OnFwVersion();
    UpdateData(true);
    currentVersionText = currentVersion;
    UpdateData(false);
    SetTimer(StartTimerId, StartTimerMs);
    return true;
}

void CUpdateToolDlg::OnTimerTick(uint32_t timerId) {
    if (timerId == StartTimerId) {
        CDialog::OnTimerTick(timerId);
        KillTimer(StartTimerId);
        return;
    }
    int dirty = 1;
    if (statusDirty.compare_exchange_strong(dirty, 0)) UpdateData(false);
    if (workerDone.load() != 0) {
        KillTimer(StatusTimerId);
        GetDlgItem(IDC_UPDATE)->EnableWindow(true);
    }
    SystemIdleTimerReset();
    CDialog::OnTimerTick(timerId);
}

bool CUpdateToolDlg::closeConnectionsUnlessBusy() {
    if (updateBusy.load() != 0) return false;
    OpenGpsPort(false);
    serialLink.Close();
    return true;
}

void CUpdateToolDlg::OnOkCommand() {
    if (!closeConnectionsUnlessBusy()) return;
    CDialog::OnOkCommand();
}

void CUpdateToolDlg::OnCancelCommand() {
    if (!closeConnectionsUnlessBusy()) return;
    CDialog::OnCancelCommand();
}

void CUpdateToolDlg::OnCloseRequest() {
    if (!closeConnectionsUnlessBusy()) return;
    CDialog::OnCloseRequest();
}

void CUpdateToolDlg::chooseFile(int pathControlId, const wchar_t* filter) {
    CFileDialog dialog(L"", L"\\My Document", FileDialogFlag::Explorer, filter, this);
    dialog.SetTitle(L"Specify a Boot Loader File");
    if (dialog.DoModal() != IdOk) return;
    GetDlgItem(pathControlId)->SetWindowText(dialog.GetPathName());
}

void CUpdateToolDlg::OnLoaderFile() {
    chooseFile(IDC_LOADER_PATH, L"Binary Files (*.bin)|*.bin|All Files (*.*)|*.*||");
}

void CUpdateToolDlg::OnTargetFile() {
    chooseFile(IDC_FIRMWARE_PATH, L"Hitachi Files (*.s)|*.s|Motorola Files (*.s3)|*.s3|All Files (*.*)|*.*||");
}

void CUpdateToolDlg::OnFwVersion() {
    OpenGpsPort(false);
    OpenGpsPort(true);
    ReadFirmwareVersion();
}

void CUpdateToolDlg::OnRepair() {
    UpdateData(true);
    CWnd* repair = GetDlgItem(IDC_REPAIR);
    repair->EnableWindow(false);
    bool repaired = RunRepair();
    SetStatusText(repaired ? L"Check successfully." : L"Check&Repair fail.");
    statusDirty = 1;
    repair->EnableWindow(true);
}
