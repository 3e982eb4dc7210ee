// The detection of an earlier installation, apart from its window: it reports
// step lines and finding lines to a view and says whether setup must stop.
#pragma once

#include <string>

class IDetectionView {
public:
    virtual ~IDetectionView() = default;
    virtual void AddStep(const std::string& text) = 0;     // a ticked line
    virtual void AddFinding(const std::string& text) = 0;  // a header line
    // Makes the lines so far visible and pauses, so that each can be read.
    virtual void ShowLines() = 0;
};

// Runs the vendor and product queries and lists what they find, beginning
// after the opening line. True when installed components block the setup:
// the product key of an earlier installation holds at least one component.
bool DetectPreviousInstallation(IDetectionView& view);
