// The window layer's base: a control wraps its HWND; one static thunk finds
// the object behind a window and dispatches to its members. Parents reflect
// WM_COMMAND, WM_DRAWITEM and WM_CTLCOLOR* back to the child's object, so a
// control that draws or colours itself stays self-contained. WM_MEASUREITEM is
// not reflected: a system control sends it from inside CreateWindowEx, before
// its object is attached, so it could never arrive; owner-drawn controls set
// their item height after creation instead (LB_SETITEMHEIGHT).
// Children are laid out by Align (docking in creation order) and Anchors.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "control_name.h"

namespace ui {

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// A colour is an RGB value or, with the top bit set, a system colour index.
using TColor = std::uint32_t;
constexpr TColor SysColor(int index) { return 0x80000000u | static_cast<TColor>(index); }
inline constexpr TColor clBtnFace = SysColor(COLOR_BTNFACE);
inline constexpr TColor clWindow = SysColor(COLOR_WINDOW);
inline constexpr TColor clWindowText = SysColor(COLOR_WINDOWTEXT);
inline constexpr TColor clGrayText = SysColor(COLOR_GRAYTEXT);
inline constexpr TColor clActiveCaption = SysColor(COLOR_ACTIVECAPTION);
inline constexpr TColor clCaptionText = SysColor(COLOR_CAPTIONTEXT);
inline constexpr TColor clInfoBk = SysColor(COLOR_INFOBK);
inline constexpr TColor clInfoText = SysColor(COLOR_INFOTEXT);
inline constexpr TColor clBtnText = SysColor(COLOR_BTNTEXT);
inline constexpr TColor clBtnShadow = SysColor(COLOR_BTNSHADOW);
inline constexpr TColor clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT);
inline constexpr TColor clHighlight = SysColor(COLOR_HIGHLIGHT);
inline constexpr TColor clHighlightText = SysColor(COLOR_HIGHLIGHTTEXT);

COLORREF ColorToRGB(TColor color);
// Shared brush of a colour; owned by the layer, never deleted by callers.
HBRUSH ColorBrush(TColor color);

struct TFontSpec {
    std::string Name = "MS Sans Serif";
    int Height = -11;  // negative: character height in pixels
    bool Bold = false;
};
// Shared font for a spec; owned by the layer.
HFONT FontHandle(const TFontSpec& spec);

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

class TForm;

class TControl : public TObject {
public:
    explicit TControl(TControl* parent);
    ~TControl() override;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    HWND Handle() const { return hwnd_; }
    TControl* Parent() const { return parent_; }
    TForm* ParentForm();
    const std::vector<TControl*>& Children() const { return children_; }
    static TControl* FromHandle(HWND hwnd);

    // The name the UI driver finds the window by.
    virtual void SetName(const std::string& name);
    const std::string& Name() const { return name_; }

    void SetBounds(int left, int top, int width, int height);
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int ClientWidth() const;
    int ClientHeight() const;
    void SetAlign(TAlign align);
    TAlign Align() const { return align_; }
    void SetAnchors(unsigned anchors);
    unsigned Anchors() const { return anchors_; }
    // The area children are aligned in, in client coordinates.
    virtual RECT AlignRect() const;
    void Realign();

    void SetEnabled(bool enabled);
    bool Enabled() const;
    void SetVisible(bool visible);
    bool Visible() const;
    void SetTabStop(bool tabStop);
    std::string Text() const;
    void SetText(const std::string& text);
    void SetFocus();
    bool Focused() const;
    void Invalidate();
    // Paints pending changes at once (during long handlers).
    void Repaint();

    void SetColor(TColor color);
    TColor Color() const;  // effective: the parent's when ParentColor
    void SetParentColor(bool value);

    void SetFont(const TFontSpec& font);
    const TFontSpec& Font() const { return font_; }
    void SetFontColor(TColor color);
    TColor FontColor() const { return fontColor_; }

    // Reflected from the parent.
    virtual void Command(WORD /*code*/) {}
    virtual HBRUSH CtlColor(HDC dc, UINT message);
    virtual void DrawItem(const DRAWITEMSTRUCT& /*item*/) {}

    TNotifyEvent OnEnter;  // the control received the focus

protected:
    // Creates the window: a registered class of ours, or a system control
    // class, which is then subclassed.
    void CreateWnd(const char* className, DWORD style, DWORD exStyle, const std::string& text = std::string());
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void Resized() { Realign(); }
    // Applies font and colour changes that come down from the parent.
    void ParentFontChanged();
    virtual void FontChanged();

    static const char* RegisterClassOnce(const char* name, UINT style, HBRUSH background);

private:
    friend class TForm;
    static LRESULT CALLBACK ClassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassThunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd);
    void Detach();
    void PlaceWindow();
    void RememberAnchorBase();
    void ApplyAnchors(int parentWidth, int parentHeight);

    HWND hwnd_ = nullptr;
    WNDPROC oldProc_ = nullptr;
    TControl* parent_;
    std::vector<TControl*> children_;
    std::string name_;
    GlobalAtom nameAtom_;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = TAlign::alNone;
    unsigned anchors_ = akLeft | akTop;
    // Position against the parent's size when the bounds were last set.
    int anchorRight_ = 0, anchorBottom_ = 0, anchorParentW_ = -1, anchorParentH_ = -1;
    bool aligning_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    TFontSpec font_;
    TColor fontColor_ = clWindowText;
    bool parentFont_ = true;
};

// Runs a handler with every exception reported, never passed on to Win32.
void SafeCall(const std::function<void()>& handler);

}  // namespace ui
