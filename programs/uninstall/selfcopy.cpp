#include "selfcopy.h"

#include <vector>

#include "installation.h"
#include "platform/rtl/module.h"
#include "platform/rtl/sysutils.h"

namespace uninst {

namespace {

constexpr DWORD kOriginalWaitMs = 30000;
constexpr DWORD kFolderWaitMs = 5000;

std::string Quoted(const std::string& arg)
{
    std::string quoted;
    quoted.reserve(arg.size() + 2);
    quoted += '"';
    quoted += arg;
    quoted += '"';
    return quoted;
}

// A new folder of our own below the user's temporary folder.
bool MakePrivateFolder(std::string& folder, DWORD& error)
{
    char temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n > MAX_PATH) {
        error = GetLastError();
        return false;
    }
    for (unsigned attempt = 0; attempt < 16; ++attempt) {
        char name[64];
        wsprintfA(name, "qvuninst-%lx-%lx", GetCurrentProcessId(), GetTickCount() + attempt);
        folder = std::string(temp) + name;
        if (CreateDirectoryA(folder.c_str(), nullptr)) return true;
        error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

// A standard handle the copy may inherit, or none.
HANDLE InheritableStd(DWORD which, std::vector<rtl::KernelHandle>& keep)
{
    const HANDLE h = GetStdHandle(which);
    if (h == nullptr || h == INVALID_HANDLE_VALUE) return nullptr;
    HANDLE dup = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &dup, 0, TRUE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    keep.emplace_back(dup);
    return dup;
}

}  // namespace

bool StartCopy(const std::vector<std::string>& args, TCopyRun& run, std::string& error)
{
    const std::string self = rtl::ModulePath();
    DWORD code = 0;
    if (!MakePrivateFolder(run.Folder, code)) {
        error = "Cannot create a temporary folder: " + rtl::SysErrorMessage(code);
        return false;
    }
    const std::string copy = run.Folder + "\\" + UninstallerFile;
    if (!CopyFileA(self.c_str(), copy.c_str(), TRUE)) {
        error = "Cannot copy the uninstaller to " + copy + ": " + rtl::SysErrorMessage(GetLastError());
        RemoveDirectoryA(run.Folder.c_str());
        return false;
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    rtl::FileHandle deleteOnClose(CreateFileA(copy.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                              &inherit, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!deleteOnClose) {
        error = "Cannot open " + copy + ": " + rtl::SysErrorMessage(GetLastError());
        DeleteFileA(copy.c_str());
        RemoveDirectoryA(run.Folder.c_str());
        return false;
    }
    std::string line = Quoted(copy);
    for (const std::string& a : args) {
        line += ' ';
        line += Quoted(a);
    }
    line += " /origin ";
    line += Quoted(self);
    line += " /parent ";
    line += std::to_string(GetCurrentProcessId());

    std::vector<rtl::KernelHandle> keep;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.hStdInput = InheritableStd(STD_INPUT_HANDLE, keep);
    si.hStdOutput = InheritableStd(STD_OUTPUT_HANDLE, keep);
    si.hStdError = InheritableStd(STD_ERROR_HANDLE, keep);
    if (si.hStdOutput != nullptr || si.hStdError != nullptr) si.dwFlags |= STARTF_USESTDHANDLES;
    PROCESS_INFORMATION pi{};
    // The copy works in its own folder: a working folder inside the
    // installation would keep that folder from being removed.
    if (!CreateProcessA(copy.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, run.Folder.c_str(), &si, &pi)) {
        error = "Cannot start " + copy + ": " + rtl::SysErrorMessage(GetLastError());
        deleteOnClose.reset();
        RemoveDirectoryA(run.Folder.c_str());
        return false;
    }
    run.Process.reset(pi.hProcess);
    rtl::KernelHandle thread(pi.hThread);
    SetCurrentDirectoryA(run.Folder.c_str());
    return true;
}

void RemoveCopyFolder(const std::string& folder)
{
    // The copy's file goes when its last handle closes, just after the copy ended.
    for (DWORD waited = 0; waited < kFolderWaitMs; waited += 100) {
        if (RemoveDirectoryA(folder.c_str()) || GetLastError() != ERROR_DIR_NOT_EMPTY) return;
        Sleep(100);
    }
}

void ScheduleFolderRemoval(const std::string& folder)
{
    MoveFileExA(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

void WaitForOriginal(unsigned long pid)
{
    rtl::KernelHandle original(OpenProcess(SYNCHRONIZE, FALSE, pid));
    if (original) WaitForSingleObject(original.get(), kOriginalWaitMs);
}

bool ParkRunningFile(const std::string& path)
{
    const std::string parked = FolderOf(rtl::ModulePath()) + "\\" + FileOf(path) + ".old";
    if (!MoveFileExA(path.c_str(), parked.c_str(), MOVEFILE_REPLACE_EXISTING)) return false;
    MoveFileExA(parked.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    ScheduleFolderRemoval(FolderOf(parked));
    return true;
}

}  // namespace uninst
