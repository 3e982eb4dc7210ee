// Panels with bevels, the picture control and the timer.
#pragma once

#include <cstddef>
#include <string>

#include "controls.h"
#include "ui_handles.h"

struct IPicture;

namespace ui {

enum class TBevel { bvNone, bvLowered, bvRaised };

class TPanel : public TControl {
public:
    explicit TPanel(TControl* parent);
    void SetBevelOuter(TBevel bevel);
    TBevel BevelOuter() const { return outer_; }
    void SetBevelInner(TBevel bevel);
    void SetBevelWidth(int width);
    void SetBorderWidth(int width);
    RECT AlignRect() const override;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Changed();
    TBevel outer_ = TBevel::bvRaised;
    TBevel inner_ = TBevel::bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
};

// A picture stretched to the control.
class TImage : public TControl {
public:
    explicit TImage(TControl* parent);
    ~TImage() override;
    // Loads a JPEG (or any picture the system decodes) from memory; raises on failure.
    void LoadPicture(const void* data, std::size_t size);
    // The same from an RCDATA resource of the program.
    void LoadResourcePicture(const char* resourceName);
    bool HasPicture() const { return static_cast<bool>(picture_); }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ComPtr<IPicture> picture_;
};

class TTimer : public TObject {
public:
    TTimer();
    ~TTimer() override;
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;
    void SetInterval(UINT milliseconds);
    UINT Interval() const { return interval_; }
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }

    TNotifyEvent OnTimer;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Update();
    Window window_;
    UINT interval_ = 1000;
    bool enabled_ = true;
};

}  // namespace ui
