// A modal dialog built from a template. The dialog layer keeps the state of every control; the
// installed front end shows it and reports the user's actions back.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/ui/CWnd.h"
#include "platform/ui/ControlState.h"
#include "platform/ui/DialogEvents.h"
#include "platform/ui/DialogTemplate.h"

class CDataExchange;

// Results of a modal run ended by the OK and Cancel commands.
constexpr int IdOk = 1;
constexpr int IdCancel = 2;

class CDialog : public CWnd, private platform::ui::DialogEvents {
public:
    CDialog(const platform::ui::DialogTemplate& dialogTemplate, CWnd* parent = nullptr);
    ~CDialog() override;

    // Creates the window, runs OnDialogInit and then the modal loop until EndDialog; returns
    // the result given to EndDialog. Window thread only.
    virtual int DoModal();
    // Ends the modal run with result once the current handler has returned.
    void EndDialog(int result);

    // Copies the controls into the fields (true) or the fields into the controls (false).
    bool UpdateData(bool saveAndValidate = true);

    // The control with this id, as a window object of its kind (CProgressCtrl for a progress
    // bar, CComboBox for a combo box); null when the template has no such control. The object
    // belongs to the dialog and lives as long as it.
    CWnd* GetDlgItem(int controlId);

    const platform::ui::DialogTemplate& dialogTemplate() const { return template_; }
    platform::ui::WindowHandle handle() const { return handle_.load(); }
    CWnd* parent() const { return parent_; }
    // Window thread only.
    const std::vector<platform::ui::ControlState>& controlStates() const { return controls_; }
    // Window thread only: applies change to control index and shows it when something changed.
    void changeControl(int index, const std::function<void(platform::ui::ControlState&)>& change);

protected:
    // The exchange between fields and controls; the default has no fields.
    virtual void DoDataExchange(CDataExchange& dx);
    // Fills the combo boxes from the template's initialisation data and copies the fields into
    // the controls. Returns true (the front end places the focus).
    virtual bool OnDialogInit();
    // Copies the controls into the fields, then ends the run with IdOk.
    virtual void OnOkCommand();
    // Ends the run with IdCancel.
    virtual void OnCancelCommand();
    // The close request ends the run through the Cancel command.
    virtual void OnCloseRequest();

    // Registers the handler of a push button (the dialog's command map).
    void OnButton(int controlId, std::function<void()> handler);

private:
    friend class CWnd;

    void buttonPressed(int controlId) override;
    void okCommand() override;
    void cancelCommand() override;
    void closeRequest() override;
    void timerFired(uint32_t timerId) override;
    void textEdited(int controlIndex, const std::wstring& text, int selected) override;

    const platform::ui::DialogTemplate& template_;
    CWnd* parent_;
    std::vector<platform::ui::ControlState> controls_;
    std::atomic<platform::ui::WindowHandle> handle_{platform::ui::NoWindow};
    bool windowShown_ = false;
    bool modalRunning_ = false;
    bool ended_ = false;
    int result_ = -1;
    std::map<int, std::function<void()>> buttonHandlers_;
    std::mutex itemsMutex_;
    std::map<int, std::unique_ptr<CWnd>> items_;  // by template index
};
