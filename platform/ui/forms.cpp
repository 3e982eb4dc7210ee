#include "forms.h"

#include "platform/rtl/sysutils.h"
#include "stdctrls.h"

namespace ui {

bool IsPositiveResult(int modalResult)
{
    return modalResult == mrOk || modalResult == mrYes || modalResult == mrAll || modalResult == mrYesToAll;
}

namespace {

bool Usable(const TControl* control)
{
    return control != nullptr && control->Handle() != nullptr && IsWindowVisible(control->Handle()) &&
           IsWindowEnabled(control->Handle());
}

// Hands a message to the keyboard handling of the form it belongs to.
void DispatchOne(MSG& msg)
{
    if (msg.hwnd != nullptr) {
        auto* form = dynamic_cast<TForm*>(TControl::FromHandle(GetAncestor(msg.hwnd, GA_ROOT)));
        if (form != nullptr && form->PreTranslate(msg)) return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

}  // namespace

TOtherWindowsDisabled::TOtherWindowsDisabled(HWND keep) : keep_(keep)
{
    EnumThreadWindows(GetCurrentThreadId(), Disable, reinterpret_cast<LPARAM>(this));
    if (error_) {
        Restore();  // what was disabled so far comes back
        std::rethrow_exception(error_);
    }
}

TOtherWindowsDisabled::~TOtherWindowsDisabled()
{
    Restore();
}

void TOtherWindowsDisabled::Restore() noexcept
{
    for (HWND hwnd : disabled_)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    disabled_.clear();
}

BOOL CALLBACK TOtherWindowsDisabled::Disable(HWND hwnd, LPARAM param)
{
    auto* self = reinterpret_cast<TOtherWindowsDisabled*>(param);
    // The exception waits for the enumeration to end and is raised by the constructor.
    try {
        if (hwnd != self->keep_ && IsWindowEnabled(hwnd)) {
            self->disabled_.push_back(hwnd);  // first: a window is never disabled without its record
            EnableWindow(hwnd, FALSE);
        }
        return TRUE;
    } catch (...) {
        self->error_ = std::current_exception();
        return FALSE;
    }
}

TForm::TForm(const std::string& name, const std::string& caption, int width, int height, TFormStyle style)
    : TControl(nullptr)
{
    color_ = clBtnFace;
    parentColor_ = false;
    parentFont_ = false;
    width_ = width;
    height_ = height;
    const DWORD ws = style == TFormStyle::None ? WS_POPUP : WS_OVERLAPPEDWINDOW;
    left_ = 0;
    top_ = 0;
    CreateWnd(RegisterClassOnce("QvForm", CS_DBLCLKS, nullptr), ws | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, caption);
    SetName(name);
    CenterOnScreen();
}

TForm::~TForm()
{
    // Windows go first, so that no message reaches a control being freed.
    if (HWND hwnd = Handle()) DestroyWindow(hwnd);
    owned_.clear();
}

void TForm::SetClientSize(int width, int height)
{
    RECT rc{0, 0, width, height};
    AdjustWindowRectEx(&rc, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
    SetBounds(Left(), Top(), rc.right - rc.left, rc.bottom - rc.top);
}

void TForm::CenterOnScreen()
{
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetBounds(work.left + (work.right - work.left - Width()) / 2, work.top + (work.bottom - work.top - Height()) / 2,
              Width(), Height());
}

void TForm::DoShow()
{
    SafeCall([this] { FormShow(); });
    if (OnShow) SafeCall([this] { OnShow(this); });
    // The forms have no taskbar buttons of their own: the application's stands for them.
    Application().ShowHandle();
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    if (Usable(activeControl_)) {
        activeControl_->SetFocus();
    } else if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) {
        ::SetFocus(first);
    } else {
        ::SetFocus(Handle());
    }
}

void TForm::Show()
{
    DoShow();
}

void TForm::Hide()
{
    if (Handle() != nullptr) ShowWindow(Handle(), SW_HIDE);
}

void TForm::Close()
{
    if (Handle() != nullptr) SendMessageA(Handle(), WM_CLOSE, 0, 0);
}

int TForm::ShowModal()
{
    modalResult_ = mrNone;
    modal_ = true;
    {
        // The program's other windows take no input while this one is up.
        const TOtherWindowsDisabled others(Handle());
        DoShow();
        MSG msg;
        while (modalResult_ == mrNone) {
            const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0) {
                PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
                modalResult_ = mrCancel;
                break;
            }
            if (got == -1) {
                modalResult_ = mrCancel;
                break;
            }
            DispatchOne(msg);
        }
    }
    Hide();
    modal_ = false;
    return modalResult_;
}

void TForm::SetActiveControl(TControl* control)
{
    activeControl_ = control;
    if (control != nullptr && IsWindowVisible(Handle()) && Usable(control)) control->SetFocus();
}

TControl* TForm::ActiveControl() const
{
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus)) return FromHandle(focus);
    return activeControl_;
}

bool TForm::PreTranslate(MSG& msg)
{
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
        HWND focus = GetFocus();
        if (focus != nullptr && focus != Handle()) {
            const LRESULT code = SendMessageA(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
            if (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
        }
        if (msg.wParam == VK_RETURN) {
            // Enter presses the focused button, else the default button.
            if (auto* focused = dynamic_cast<TButton*>(FromHandle(focus)); Usable(focused)) {
                focused->Click();
                return true;
            }
            if (Usable(defaultButton_)) defaultButton_->Click();
            return true;
        }
        if (Usable(cancelButton_)) cancelButton_->Click();
        return true;
    }
    return IsDialogMessageA(Handle(), &msg) != FALSE;
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        if (modal_) {
            modalResult_ = mrCancel;
        } else if (Application().MainForm() == this) {
            DestroyWindow(Handle());
        } else {
            Hide();
        }
        return 0;
    case WM_DESTROY:
        if (Application().MainForm() == this) PostQuitMessage(0);
        break;
    case DM_GETDEFID:
        return 0;  // Enter is handled by PreTranslate, never by the dialog manager
    case WM_ACTIVATE:
        // Give the focus back to the control that had it (after a message box).
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(Handle(), focus)) activeControl_ = FromHandle(focus);
        } else if (Usable(activeControl_)) {
            activeControl_->SetFocus();
            return 0;
        }
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

// --------------------------------------------------------------- TApplication

TApplication& Application()
{
    static TApplication application;
    return application;
}

void TApplication::SetTitle(const std::string& title)
{
    title_ = title;
    if (window_) SetWindowTextA(window_.get(), title_.c_str());
}

HWND TApplication::Handle()
{
    if (window_) return window_.get();
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!GetClassInfoExA(instance, "QvApplication", &wc)) {
        wc.lpfnWndProc = Proc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
        wc.lpszClassName = "QvApplication";
        if (RegisterClassExA(&wc) == 0) rtl::RaiseLastOSError();
    }
    // No size: the taskbar shows it, the screen does not.
    window_.reset(CreateWindowExA(0, "QvApplication", title_.c_str(),
                                  WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                  GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                                  nullptr, instance, nullptr));
    if (!window_) rtl::RaiseLastOSError();
    return window_.get();
}

LRESULT CALLBACK TApplication::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The taskbar button acts on the window a person works in: activating it
    // activates that window, closing it closes that window.
    const HWND popup = GetLastActivePopup(hwnd);
    const bool usable = popup != nullptr && popup != hwnd && IsWindowVisible(popup) && IsWindowEnabled(popup);
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && usable) {
            SetActiveWindow(popup);
            return 0;
        }
        break;
    case WM_CLOSE:
        if (usable) PostMessageA(popup, WM_CLOSE, 0, 0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void TApplication::ShowHandle()
{
    if (!IsWindowVisible(Handle())) ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

int TApplication::Run()
{
    ShowHandle();
    if (mainForm_ != nullptr) mainForm_->Show();
    MSG msg;
    BOOL got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) break;
        DispatchOne(msg);
    }
    return got == 0 ? static_cast<int>(msg.wParam) : 1;
}

}  // namespace ui
