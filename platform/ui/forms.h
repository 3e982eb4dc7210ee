// Top-level windows: forms shown modally with a nested message loop and a
// modal result, default and cancel buttons, and the application object that
// runs the main message loop.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "controls.h"
#include "ui_handles.h"

namespace ui {

// Modal results.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrYes = 6;
inline constexpr int mrAll = 8;
inline constexpr int mrYesToAll = 10;

// OK, Yes, All and Yes to All count as positive.
bool IsPositiveResult(int modalResult);

class TButton;

// While it lives, every other enabled top-level window of this thread is
// disabled, so that only the modal window (or dialog) takes input; they are
// enabled again when it ends, also after an exception.
class TOtherWindowsDisabled {
public:
    explicit TOtherWindowsDisabled(HWND keep);
    ~TOtherWindowsDisabled();
    TOtherWindowsDisabled(const TOtherWindowsDisabled&) = delete;
    TOtherWindowsDisabled& operator=(const TOtherWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Disable(HWND hwnd, LPARAM param);
    void Restore() noexcept;
    HWND keep_;
    std::vector<HWND> disabled_;
    std::exception_ptr error_;
};

enum class TFormStyle { Sizeable, None };

class TForm : public TControl {
public:
    // Creates the window hidden, with the given outer size, centred on the screen.
    TForm(const std::string& name, const std::string& caption, int width, int height,
          TFormStyle style = TFormStyle::Sizeable);
    ~TForm() override;

    // Controls are created through their form, which owns them.
    template <class T, class... Args>
    T* Make(Args&&... args)
    {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = control.get();
        owned_.push_back(std::move(control));
        return raw;
    }

    // Sets the size of the client area (the outer size follows).
    void SetClientSize(int width, int height);
    void CenterOnScreen();

    // Shows the form and runs a nested message loop until ModalResult is set
    // (a button with a modal result, Close, Esc/Enter on the cancel/default
    // button); the form is hidden again and the result returned.
    virtual int ShowModal();
    bool InModalLoop() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    void Show();
    void Hide();
    // Closes the form: a modal form ends its loop with Cancel; the main form
    // is destroyed, which ends the program's message loop.
    void Close();

    void SetActiveControl(TControl* control);
    TControl* ActiveControl() const;
    void SetDefaultButton(TButton* button) { defaultButton_ = button; }
    void SetCancelButton(TButton* button) { cancelButton_ = button; }
    TButton* DefaultButton() const { return defaultButton_; }
    TButton* CancelButton() const { return cancelButton_; }

    // Keyboard handling of the form (Enter, Esc, Tab); true when consumed.
    bool PreTranslate(MSG& msg);

    TNotifyEvent OnShow;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual void FormShow() {}

private:
    void DoShow();

    std::vector<std::unique_ptr<TObject>> owned_;
    int modalResult_ = mrNone;
    bool modal_ = false;
    TButton* defaultButton_ = nullptr;
    TButton* cancelButton_ = nullptr;
    TControl* activeControl_ = nullptr;
};

// The application: its title, its main form, and its own window. That window
// is never seen (it has no size); it carries the title on the taskbar for the
// whole run and owns every form, so that no form has a taskbar button of its
// own and the taskbar does not change from window to window.
class TApplication {
public:
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* form) { mainForm_ = form; }
    // The application window, made on first use.
    HWND Handle();
    // Puts the title on the taskbar; from the first form shown on.
    void ShowHandle();
    // Shows the application window and the main form and runs the message
    // loop until the main form is destroyed.
    int Run();

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    std::string title_;
    TForm* mainForm_ = nullptr;
    Window window_;
};

TApplication& Application();

}  // namespace ui
