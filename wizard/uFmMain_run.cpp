// TFmMain: the installation run behind Install.
#include "platform/ui/dialogs.h"
#include "uFmMain.h"

// PLACEHOLDER until the installation engine arrives. It reports that nothing
// was installed and leaves the wizard open, so that no result claims success.
void TFmMain::bnNextClick(ui::TObject* /*sender*/)
{
    ui::ShowMessage("This build of the setup cannot install yet; nothing was changed.");
}
