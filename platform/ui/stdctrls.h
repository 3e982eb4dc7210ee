// Standard controls: labels, header texts, edits, labelled edits, buttons and
// check boxes, each over its system control.
#pragma once

#include <memory>

#include "controls.h"

namespace ui {

// Static text; a click on it is an event. Its size follows its text unless
// AutoSize is switched off.
class TLabel : public TControl {
public:
    explicit TLabel(TControl* parent, const std::string& caption = std::string());
    void SetCaption(const std::string& caption);
    void SetAutoSize(bool value);
    // Centres the text horizontally and vertically (one line).
    void SetCentered(bool value);
    // Several lines, broken at CR LF and wrapped at the width.
    void SetWordWrap(bool value);
    void Command(WORD code) override;

    TNotifyEvent OnClick;

protected:
    void FontChanged() override;

private:
    void AdjustSize();
    bool autoSize_ = true;
};

// A header row: text in a softly bevelled frame.
class TStaticText : public TControl {
public:
    explicit TStaticText(TControl* parent, const std::string& caption = std::string());
};

class TEdit : public TControl {
public:
    explicit TEdit(TControl* parent);
    void SetPasswordChar(char c);
    HBRUSH CtlColor(HDC dc, UINT message) override;
};

enum class TLabelPosition { lpLeft, lpAbove };

// An edit with its own label beside it. The label is a sibling of the edit;
// it follows the edit when the edit moves.
class TLabeledEdit : public TEdit {
public:
    TLabeledEdit(TControl* parent, const std::string& label, TLabelPosition position = TLabelPosition::lpLeft,
                 int spacing = 4);
    TLabel* EditLabel() { return label_.get(); }
    // The label is named after the edit: "<name>SubLabel".
    void SetName(const std::string& name) override;
    void SetLabelPosition(TLabelPosition position);
    void PlaceLabel();
    // A click on the label.
    TNotifyEvent OnSubLabelClick;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::unique_ptr<TLabel> label_;
    TLabelPosition position_;
    int spacing_;
};

class TButton : public TControl {
public:
    TButton(TControl* parent, const std::string& caption);
    // Default button: Enter presses it. Cancel button: Esc presses it.
    void SetDefault(bool value);
    void SetCancel(bool value);
    // A result other than mrNone is handed to the form when the button is pressed.
    void SetModalResult(int result) { modalResult_ = result; }
    int ModalResult() const { return modalResult_; }
    // Presses the button: the form's modal result first, then OnClick.
    void Click();
    void Command(WORD code) override;

    TNotifyEvent OnClick;

private:
    int modalResult_ = 0;
};

class TCheckBox : public TControl {
public:
    TCheckBox(TControl* parent, const std::string& caption);
    bool Checked() const;
    void SetChecked(bool value);
};

}  // namespace ui
