// The update tool's one dialog: warns, shows the receiver's firmware version, refreshes the
// status line from its timer and refuses to close while an update runs.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"

constexpr uint32_t StatusTimerId = 1;
constexpr uint32_t StatusTimerMs = 2000;
constexpr uint32_t StartTimerId = 100;
constexpr uint32_t StartTimerMs = 1;

extern const wchar_t* const StartWarningText;

class CUpdateToolDlg : public CDialog {
public:
    explicit CUpdateToolDlg(CWnd* parent = nullptr);
    ~CUpdateToolDlg() override;

    // Every writer of statusText goes through here (any thread); the caller then sets
    // statusDirty. The data exchange takes the same lock, so the text changes hands whole.
    void SetStatusText(const std::wstring& text);
    std::wstring StatusText() const;

    // Button handlers; window thread.
    void OnLoaderFile();
    void OnTargetFile();
    void OnFwVersion();
    void OnRepair();

    void OnTimerTick(uint32_t timerId) override;

    // Fields of the data exchange (statusText is above, behind its lock).
    std::wstring loaderPathText;
    std::wstring portChoiceText = L"COM2";
    std::wstring currentVersionText;
    std::wstring newVersionText = L" 2.4.13.03.10";
    CComboBox portChoice;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnDialogInit() override;
    void OnOkCommand() override;
    void OnCancelCommand() override;
    void OnCloseRequest() override;

private:
    // Closes GpsPort and the CSerialLink connection; false while an update runs.
    bool closeConnectionsUnlessBusy();
    void chooseFile(int pathControlId, const wchar_t* filter);

    mutable std::mutex statusMutex_;
    std::wstring statusText;
    int icon_;
};
