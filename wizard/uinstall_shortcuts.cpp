// Start-menu folder "quorvane" and desktop shortcuts of all users, made with
// one shell link object whose target and description change between them.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/rtl/files.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/ui_handles.h"
#include "uinstall.h"

namespace {

std::string SpecialFolder(HWND owner, int csidl)
{
    char path[MAX_PATH] = {};
    // A failed look-up leaves the path empty; the saves below then fail
    // quietly, as a failed save does.
    SHGetSpecialFolderPathA(owner, path, csidl, FALSE);
    return path;
}

void Save(IShellLinkA* link, const std::vector<std::string>& files)
{
    ui::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put())))) return;
    for (const std::string& name : files) file.get()->Save(rtl::Widen(name).c_str(), TRUE);
}

}  // namespace

void TInstallRun::Shortcuts()
{
    if (!Step(TStep::Shortcuts)) return;
    const std::string& folder = input_.Folder;
    const std::string menu = SpecialFolder(owner_, CSIDL_COMMON_PROGRAMS) + "\\quorvane";
    rtl::ForceDirectories(menu);

    ui::ComPtr<IShellLinkA> link;
    const HRESULT hr =
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, reinterpret_cast<void**>(link.put()));
    if (hr == E_NOINTERFACE) throw rtl::Exception("Interface not supported");
    if (FAILED(hr) || !link) throw rtl::Exception(rtl::SysErrorMessage(static_cast<unsigned long>(hr)));

    auto shortcut = [&](const char* program, const char* description, const char* name, bool desktop) {
        link.get()->SetPath(ProgramPath(folder, program).c_str());
        link.get()->SetDescription(description);
        std::vector<std::string> files = {menu + "\\" + name + ".lnk"};
        if (desktop) files.push_back(SpecialFolder(owner_, CSIDL_COMMON_DESKTOPDIRECTORY) + "\\" + name + ".lnk");
        Save(link.get(), files);
    };
    if (input_.Server)
        shortcut(payloads_.ServerApp->Name, "manage quorvane", "quorvane Enterprise Ridir Control", true);
    if (input_.UserApp) shortcut(payloads_.Viewer->Name, "view system information", "quorvane Viewer", true);
    shortcut(payloads_.Uninstaller->Name, "remove/uninstall quorvane", "Uninstall quorvane", false);
}
