#include "extctrls.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>

#include "platform/rtl/sysutils.h"

namespace ui {

namespace {

void Frame3D(HDC dc, RECT& rc, TColor topLeft, TColor bottomRight, int width)
{
    for (int i = 0; i < width; ++i) {
        RECT line;
        line = {rc.left, rc.top, rc.right, rc.top + 1};
        FillRect(dc, &line, ColorBrush(topLeft));
        line = {rc.left, rc.top, rc.left + 1, rc.bottom};
        FillRect(dc, &line, ColorBrush(topLeft));
        line = {rc.left, rc.bottom - 1, rc.right, rc.bottom};
        FillRect(dc, &line, ColorBrush(bottomRight));
        line = {rc.right - 1, rc.top, rc.right, rc.bottom};
        FillRect(dc, &line, ColorBrush(bottomRight));
        InflateRect(&rc, -1, -1);
    }
}

void DrawBevel(HDC dc, RECT& rc, TBevel bevel, int width)
{
    if (bevel == TBevel::bvRaised) Frame3D(dc, rc, clBtnHighlight, clBtnShadow, width);
    else if (bevel == TBevel::bvLowered) Frame3D(dc, rc, clBtnShadow, clBtnHighlight, width);
}

}  // namespace

// -------------------------------------------------------------------- TPanel

TPanel::TPanel(TControl* parent) : TControl(parent)
{
    SetParentColor(false);
    CreateWnd(RegisterClassOnce("QvPanel", CS_HREDRAW | CS_VREDRAW, nullptr), WS_VISIBLE | WS_CLIPSIBLINGS,
              WS_EX_CONTROLPARENT);
}

void TPanel::Changed()
{
    Realign();
    if (Handle() != nullptr) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TPanel::SetBevelOuter(TBevel bevel)
{
    outer_ = bevel;
    Changed();
}

void TPanel::SetBevelInner(TBevel bevel)
{
    inner_ = bevel;
    Changed();
}

void TPanel::SetBevelWidth(int width)
{
    bevelWidth_ = width;
    Changed();
}

void TPanel::SetBorderWidth(int width)
{
    borderWidth_ = width;
    Changed();
}

RECT TPanel::AlignRect() const
{
    RECT rc = TControl::AlignRect();
    int inset = borderWidth_;
    if (outer_ != TBevel::bvNone) inset += bevelWidth_;
    if (inner_ != TBevel::bvNone) inset += bevelWidth_;
    InflateRect(&rc, -inset, -inset);
    return rc;
}

LRESULT TPanel::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        const PaintScope paint(Handle());
        if (HDC dc = paint.DC()) {
            RECT rc;
            GetClientRect(Handle(), &rc);
            DrawBevel(dc, rc, outer_, bevelWidth_);
            InflateRect(&rc, -borderWidth_, -borderWidth_);
            DrawBevel(dc, rc, inner_, bevelWidth_);
        }
        return 0;
    }
    return TControl::WndProc(message, wParam, lParam);
}

// -------------------------------------------------------------------- TImage

TImage::TImage(TControl* parent) : TControl(parent)
{
    CreateWnd(RegisterClassOnce("QvImage", CS_HREDRAW | CS_VREDRAW, nullptr), WS_VISIBLE, 0);
}

TImage::~TImage() = default;

void TImage::LoadPicture(const void* data, std::size_t size)
{
    GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) rtl::RaiseLastOSError();
    void* bytes = GlobalLock(memory.get());
    std::memcpy(bytes, data, size);
    GlobalUnlock(memory.get());
    ComPtr<IStream> stream;
    // The stream does not free the memory; our owner does, after the stream is gone.
    HRESULT hr = CreateStreamOnHGlobal(memory.get(), FALSE, stream.put());
    rtl::OleCheck(hr);
    ComPtr<IPicture> picture;
    hr = OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                        reinterpret_cast<void**>(picture.put()));
    rtl::OleCheck(hr);
    picture_ = std::move(picture);
    Invalidate();
}

void TImage::LoadResourcePicture(const char* resourceName)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, resourceName, MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (info == nullptr) rtl::RaiseLastOSError();
    HGLOBAL res = LoadResource(module, info);
    const void* data = res ? LockResource(res) : nullptr;
    if (data == nullptr) rtl::RaiseLastOSError();
    LoadPicture(data, SizeofResource(module, info));
}

LRESULT TImage::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        const PaintScope paint(Handle());
        if (HDC dc = paint.DC(); dc != nullptr && picture_) {
            RECT rc;
            GetClientRect(Handle(), &rc);
            OLE_XSIZE_HIMETRIC w = 0;
            OLE_YSIZE_HIMETRIC h = 0;
            picture_.get()->get_Width(&w);
            picture_.get()->get_Height(&h);
            SetStretchBltMode(dc, HALFTONE);
            picture_.get()->Render(dc, 0, 0, rc.right, rc.bottom, 0, h, w, -h, nullptr);
        }
        return 0;
    }
    return TControl::WndProc(message, wParam, lParam);
}

// -------------------------------------------------------------------- TTimer

TTimer::TTimer()
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(GetModuleHandleA(nullptr), "QvTimer", &wc)) {
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QvTimer";
        if (RegisterClassExA(&wc) == 0) rtl::RaiseLastOSError();
    }
    window_.reset(
        CreateWindowExA(0, "QvTimer", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr));
    if (!window_) rtl::RaiseLastOSError();
    SetWindowLongPtrA(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Update();
}

TTimer::~TTimer()
{
    // The window outlives this object by a moment: no tick may reach it then.
    if (window_) SetWindowLongPtrA(window_.get(), GWLP_USERDATA, 0);
}

void TTimer::SetInterval(UINT milliseconds)
{
    interval_ = milliseconds;
    Update();
}

void TTimer::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    Update();
}

void TTimer::Update()
{
    KillTimer(window_.get(), 1);
    if (enabled_ && interval_ > 0) SetTimer(window_.get(), 1, interval_, nullptr);
}

LRESULT CALLBACK TTimer::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER) {
        auto* self = reinterpret_cast<TTimer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self != nullptr && self->enabled_ && self->OnTimer) SafeCall([self] { self->OnTimer(self); });
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace ui
