#include "controls.h"

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>

#include "control_name.h"
#include "cursor.h"
#include "dialogs.h"
#include "forms.h"
#include "platform/rtl/sysutils.h"
#include "ui_handles.h"

namespace ui {

namespace {

constexpr const char* kObjectProp = "QvObject";

}  // namespace

COLORREF ColorToRGB(TColor color)
{
    if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}

HBRUSH ColorBrush(TColor color)
{
    if (color & 0x80000000u) return GetSysColorBrush(static_cast<int>(color & 0xFF));
    static std::map<TColor, GdiObject> brushes;
    auto& brush = brushes[color];
    if (!brush) brush.reset(CreateSolidBrush(static_cast<COLORREF>(color)));
    return static_cast<HBRUSH>(brush.get());
}

HFONT FontHandle(const TFontSpec& spec)
{
    static std::map<std::tuple<std::string, int, bool>, GdiObject> fonts;
    auto& font = fonts[{spec.Name, spec.Height, spec.Bold}];
    if (!font)
        font.reset(CreateFontA(spec.Height, 0, 0, 0, spec.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, spec.Name.c_str()));
    return static_cast<HFONT>(font.get());
}

void SafeCall(const std::function<void()>& handler)
{
    try {
        if (handler) handler();
    } catch (const std::exception& e) {
        ShowError(e.what());
    } catch (...) {
        ShowError("Unknown error");
    }
}

// ------------------------------------------------------------------ TControl

TControl::TControl(TControl* parent) : parent_(parent)
{
    if (parent_ != nullptr) {
        parent_->children_.push_back(this);
        font_ = parent_->font_;
        fontColor_ = parent_->fontColor_;
    }
}

TControl::~TControl()
{
    for (TControl* child : children_) child->parent_ = nullptr;
    if (parent_ != nullptr) std::erase(parent_->children_, this);
    if (hwnd_ != nullptr) {
        HWND hwnd = hwnd_;
        Detach();
        DestroyWindow(hwnd);
    }
}

TForm* TControl::ParentForm()
{
    TControl* c = this;
    while (c->parent_ != nullptr) c = c->parent_;
    return dynamic_cast<TForm*>(c);
}

TControl* TControl::FromHandle(HWND hwnd)
{
    return hwnd ? static_cast<TControl*>(GetPropA(hwnd, kObjectProp)) : nullptr;
}

const char* TControl::RegisterClassOnce(const char* name, UINT style, HBRUSH background)
{
    WNDCLASSEXA wc{};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), name, &wc)) return name;
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = ClassThunk;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (RegisterClassExA(&wc) == 0) rtl::RaiseLastOSError();
    return name;
}

void TControl::CreateWnd(const char* className, DWORD style, DWORD exStyle, const std::string& text)
{
    static int nextId = 1000;  // clear of IDOK/IDCANCEL, which the keyboard handling uses
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    const bool ours = GetClassInfoExA(GetModuleHandleA(nullptr), className, &wc) && wc.lpfnWndProc == ClassThunk;
    HWND parentWnd = parent_ ? parent_->hwnd_ : nullptr;
    if (parentWnd != nullptr) style |= WS_CHILD;
    // A top-level window is owned by the application window (no taskbar button of its own).
    HWND owner = parentWnd != nullptr ? parentWnd : Application().Handle();
    HMENU id = parentWnd ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)) : nullptr;
    HWND hwnd = CreateWindowExA(exStyle, className, text.c_str(), style, left_, top_, width_, height_, owner, id,
                                GetModuleHandleA(nullptr), ours ? this : nullptr);
    if (hwnd == nullptr) rtl::RaiseLastOSError();
    if (!ours) {
        Attach(hwnd);
        oldProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TControl::SubclassThunk)));
    }
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), FALSE);
    if (align_ != TAlign::alNone && parent_ != nullptr) parent_->Realign();
}

void TControl::Attach(HWND hwnd)
{
    hwnd_ = hwnd;
    SetPropA(hwnd, kObjectProp, this);
}

void TControl::Detach()
{
    if (hwnd_ == nullptr) return;
    if (oldProc_ != nullptr) SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
    RemovePropA(hwnd_, kObjectProp);
    ClearControlName(hwnd_);
    nameAtom_.reset();
    hwnd_ = nullptr;
}

LRESULT CALLBACK TControl::ClassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        if (auto* self = static_cast<TControl*>(cs->lpCreateParams)) self->Attach(hwnd);
    }
    if (TControl* self = FromHandle(hwnd)) return self->Dispatch(message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK TControl::SubclassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (TControl* self = FromHandle(hwnd)) return self->Dispatch(message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT TControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY) {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        Detach();
        return result;
    }
    try {
        return WndProc(message, wParam, lParam);
    } catch (const std::exception& e) {
        ShowError(e.what());
    } catch (...) {
        ShowError("Unknown error");
    }
    return 0;
}

LRESULT TControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (oldProc_ != nullptr) return CallWindowProcA(oldProc_, hwnd_, message, wParam, lParam);
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT TControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (lParam != 0) {
            if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
                child->Command(HIWORD(wParam));
                return 0;
            }
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = child->CtlColor(reinterpret_cast<HDC>(wParam), message))
                return reinterpret_cast<LRESULT>(brush);
        }
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (TControl* child = FromHandle(item->hwndItem)) {
            child->DrawItem(*item);
            return TRUE;
        }
        break;
    }
    case WM_ERASEBKGND:
        if (oldProc_ == nullptr) {
            RECT rc;
            GetClientRect(hwnd_, &rc);
            FillRect(reinterpret_cast<HDC>(wParam), &rc, ColorBrush(Color()));
            return 1;
        }
        break;
    case WM_SIZE: {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        Resized();
        return result;
    }
    case WM_SETFOCUS: {
        const LRESULT result = DefaultProc(message, wParam, lParam);
        if (OnEnter) OnEnter(this);
        return result;
    }
    case WM_SETCURSOR:
        if (ScreenCursor() == TCursor::crHourGlass) {
            ::SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
            return TRUE;
        }
        break;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

HBRUSH TControl::CtlColor(HDC dc, UINT /*message*/)
{
    SetTextColor(dc, ColorToRGB(fontColor_));
    SetBkColor(dc, ColorToRGB(Color()));
    return ColorBrush(Color());
}

void TControl::SetName(const std::string& name)
{
    name_ = name;
    if (hwnd_ != nullptr) nameAtom_ = SetControlName(hwnd_, name);
}

// ------------------------------------------------------------------ geometry

int TControl::ClientWidth() const
{
    RECT rc{};
    if (hwnd_ != nullptr) GetClientRect(hwnd_, &rc);
    return rc.right;
}

int TControl::ClientHeight() const
{
    RECT rc{};
    if (hwnd_ != nullptr) GetClientRect(hwnd_, &rc);
    return rc.bottom;
}

RECT TControl::AlignRect() const
{
    RECT rc{};
    if (hwnd_ != nullptr) GetClientRect(hwnd_, &rc);
    return rc;
}

void TControl::PlaceWindow()
{
    if (hwnd_ != nullptr)
        SetWindowPos(hwnd_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    PlaceWindow();
    if (align_ == TAlign::alNone) RememberAnchorBase();
    else if (parent_ != nullptr && !parent_->aligning_) parent_->Realign();
}

void TControl::SetAlign(TAlign align)
{
    align_ = align;
    if (parent_ != nullptr) parent_->Realign();
}

void TControl::SetAnchors(unsigned anchors)
{
    anchors_ = anchors;
    RememberAnchorBase();
}

void TControl::RememberAnchorBase()
{
    if (parent_ == nullptr || parent_->hwnd_ == nullptr) return;
    anchorParentW_ = parent_->ClientWidth();
    anchorParentH_ = parent_->ClientHeight();
    anchorRight_ = anchorParentW_ - (left_ + width_);
    anchorBottom_ = anchorParentH_ - (top_ + height_);
}

void TControl::ApplyAnchors(int parentWidth, int parentHeight)
{
    if (anchorParentW_ < 0) {
        RememberAnchorBase();
        return;
    }
    if (anchors_ & akRight) {
        if (anchors_ & akLeft) width_ = std::max(0, parentWidth - anchorRight_ - left_);
        else left_ = parentWidth - anchorRight_ - width_;
    }
    if (anchors_ & akBottom) {
        if (anchors_ & akTop) height_ = std::max(0, parentHeight - anchorBottom_ - top_);
        else top_ = parentHeight - anchorBottom_ - height_;
    }
    PlaceWindow();
}

void TControl::Realign()
{
    if (hwnd_ == nullptr || aligning_) return;
    aligning_ = true;
    RECT r = AlignRect();
    auto place = [](TControl* c, LONG l, LONG t, LONG w, LONG h) {
        c->left_ = l;
        c->top_ = t;
        c->width_ = std::max<LONG>(0, w);
        c->height_ = std::max<LONG>(0, h);
        c->PlaceWindow();
    };
    // Docking order: top, bottom, left, right, then what remains; within one
    // kind, the earlier created control lies further out.
    for (TAlign kind : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        for (TControl* c : children_) {
            if (c->align_ != kind) continue;
            switch (kind) {
            case TAlign::alTop:
                place(c, r.left, r.top, r.right - r.left, c->height_);
                r.top += c->height_;
                break;
            case TAlign::alBottom:
                place(c, r.left, r.bottom - c->height_, r.right - r.left, c->height_);
                r.bottom -= c->height_;
                break;
            case TAlign::alLeft:
                place(c, r.left, r.top, c->width_, r.bottom - r.top);
                r.left += c->width_;
                break;
            case TAlign::alRight:
                place(c, r.right - c->width_, r.top, c->width_, r.bottom - r.top);
                r.right -= c->width_;
                break;
            default:
                place(c, r.left, r.top, r.right - r.left, r.bottom - r.top);
                break;
            }
        }
    }
    const int w = ClientWidth(), h = ClientHeight();
    for (TControl* c : children_)
        if (c->align_ == TAlign::alNone) c->ApplyAnchors(w, h);
    aligning_ = false;
}

// --------------------------------------------------------------------- state

void TControl::SetEnabled(bool enabled)
{
    if (hwnd_ != nullptr) EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

bool TControl::Enabled() const
{
    return hwnd_ != nullptr && IsWindowEnabled(hwnd_);
}

void TControl::SetVisible(bool visible)
{
    if (hwnd_ != nullptr) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

bool TControl::Visible() const
{
    return hwnd_ != nullptr && (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TControl::SetTabStop(bool tabStop)
{
    if (hwnd_ == nullptr) return;
    LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    style = tabStop ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrA(hwnd_, GWL_STYLE, style);
}

std::string TControl::Text() const
{
    if (hwnd_ == nullptr) return std::string();
    const int n = GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    const int got = GetWindowTextA(hwnd_, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(std::max(0, got)));
    return text;
}

void TControl::SetText(const std::string& text)
{
    if (hwnd_ != nullptr) SetWindowTextA(hwnd_, text.c_str());
}

void TControl::SetFocus()
{
    if (hwnd_ != nullptr) ::SetFocus(hwnd_);
}

bool TControl::Focused() const
{
    return hwnd_ != nullptr && GetFocus() == hwnd_;
}

void TControl::Invalidate()
{
    if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, TRUE);
}

void TControl::Repaint()
{
    if (hwnd_ != nullptr)
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TControl::SetColor(TColor color)
{
    color_ = color;
    parentColor_ = false;
    if (hwnd_ != nullptr) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

TColor TControl::Color() const
{
    if (parentColor_ && parent_ != nullptr) return parent_->Color();
    return color_;
}

void TControl::SetParentColor(bool value)
{
    parentColor_ = value;
    Invalidate();
}

void TControl::SetFont(const TFontSpec& font)
{
    font_ = font;
    parentFont_ = false;
    FontChanged();
}

void TControl::SetFontColor(TColor color)
{
    fontColor_ = color;
    parentFont_ = false;
    FontChanged();
}

void TControl::ParentFontChanged()
{
    if (!parentFont_ || parent_ == nullptr) return;
    font_ = parent_->font_;
    fontColor_ = parent_->fontColor_;
    FontChanged();
}

void TControl::FontChanged()
{
    if (hwnd_ != nullptr) {
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), FALSE);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
    for (TControl* child : children_) child->ParentFontChanged();
}

}  // namespace ui
