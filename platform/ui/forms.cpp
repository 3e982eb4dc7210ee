#include "forms.h"

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

BOOL CALLBACK DisableOther(HWND hwnd, LPARAM param)
{
    auto* list = reinterpret_cast<std::pair<HWND, std::vector<HWND>>*>(param);
    if (hwnd != list->first && IsWindowEnabled(hwnd)) {
        EnableWindow(hwnd, FALSE);
        list->second.push_back(hwnd);
    }
    return TRUE;
}

}  // namespace

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
    // The program's other windows take no input while this one is up.
    std::pair<HWND, std::vector<HWND>> disabled{Handle(), {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableOther, reinterpret_cast<LPARAM>(&disabled));
    struct Restore {
        std::vector<HWND>& windows;
        ~Restore()
        {
            for (HWND hwnd : windows)
                if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
        }
    };

    modalResult_ = mrNone;
    modal_ = true;
    {
        Restore restore{disabled.second};
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

int TApplication::Run()
{
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
