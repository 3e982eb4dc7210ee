// TFmMain: the destination folder, by default and from the folder browser.
#include <windows.h>

#include "platform/ui/dialogs.h"
#include "uFmMain.h"

namespace {

std::string Environment(const char* name)
{
    char value[MAX_PATH * 2];
    const DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

bool DirectoryExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

void TFmMain::FormShow()
{
    leFolder->SetText(DefaultDestinationFolder(Environment("ProgramFiles")));
}

// Only folders on the system drive can be chosen; Program Files is selected
// at the start when it exists, whatever the edit holds.
void TFmMain::leFolderSubLabelClick(ui::TObject* /*sender*/)
{
    const std::string root = Environment("SystemDrive") + "\\";
    std::string initial = Environment("ProgramFiles");
    if (!DirectoryExists(initial)) initial.clear();
    std::string folder;
    if (ui::SelectDirectory(ui::Application().Handle(), "Select Destination Folder", root, initial, folder))
        leFolder->SetText(folder);
}
