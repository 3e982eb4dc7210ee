// Actions: a named OnExecute handler that buttons can be pointed at.
#pragma once

#include <string>

#include "controls.h"

namespace ui {

class TAction : public TObject {
public:
    explicit TAction(std::string name) : name_(std::move(name)) {}
    const std::string& Name() const { return name_; }
    // Runs OnExecute with the action as sender; false when there is none.
    bool Execute()
    {
        if (!OnExecute) return false;
        OnExecute(this);
        return true;
    }

    TNotifyEvent OnExecute;

private:
    std::string name_;
};

}  // namespace ui
