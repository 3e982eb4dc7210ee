// The order of the modal phases after the splash, kept apart from the windows
// so that it can be tested with stand-ins.
#pragma once

#include <functional>

struct TStartupPhases {
    std::function<int()> Licence;
    std::function<int()> Detection;
    std::function<int()> Wizard;
    std::function<void()> Completed;  // the closing message
};

// Licence, then detection, then the wizard, each only after a positive result
// of the one before; the closing message only when the wizard ends with OK.
// Returns the number of phases shown.
int RunStartupSequence(const TStartupPhases& phases);
