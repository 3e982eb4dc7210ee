// Rich-text box.
#pragma once

#include <cstddef>

#include "controls.h"

namespace ui {

class TRichEdit : public TControl {
public:
    explicit TRichEdit(TControl* parent);
    void SetReadOnly(bool value);
    // Replaces the content with an RTF document held in memory; false when
    // the control takes nothing from it.
    bool LoadRtf(const void* data, std::size_t size);
};

}  // namespace ui
