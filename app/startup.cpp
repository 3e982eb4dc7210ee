#include "startup.h"

#include "platform/ui/forms.h"

int RunStartupSequence(const TStartupPhases& phases)
{
    if (!ui::IsPositiveResult(phases.Licence())) return 1;
    if (!ui::IsPositiveResult(phases.Detection())) return 2;
    // Only a completed run ends the wizard with OK; Yes or All would not be one.
    if (phases.Wizard() == ui::mrOk) phases.Completed();
    return 3;
}
