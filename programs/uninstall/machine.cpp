#include "machine.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>

#include "platform/rtl/handles.h"
#include "platform/rtl/module.h"
#include "platform/rtl/sysutils.h"
#include "programs/common/service.h"
#include "programs/msvc/report_file.h"
#include "query/ucfg.h"
#include "registry/ureg.h"
#include "selfcopy.h"

namespace uninst {

namespace {

constexpr DWORD kProgramWaitMs = 45000;  // a service program's "/uninstall": it waits 30 s for the stop
constexpr DWORD kStopWaitMs = 30000;     // a service asked to stop directly
constexpr DWORD kGoneWaitMs = 5000;      // a deleted service leaving the manager's list
constexpr DWORD kEndWaitMs = 5000;       // a program that was ended

bool SamePath(const std::string& a, const std::string& b)
{
    return rtl::SameText(a, b);
}

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE)) return std::string();
    return path;
}

std::string StringValue(HKEY root, const std::string& key, const char* name, bool& found)
{
    found = false;
    ureg::TRegLoadValue values("SOFTWARE", key, root);
    const ureg::TRegValue* v = values.Find(name);
    if (!values.Opened()) return std::string();
    found = v != nullptr;
    if (v == nullptr || v->Bytes() == nullptr) return std::string();
    const char* text = reinterpret_cast<const char*>(v->Bytes());
    return std::string(text, strnlen(text, static_cast<std::size_t>(v->Size())));
}

// Below SOFTWARE: the rest of a path that starts with it.
std::string BelowSoftware(const std::string& path)
{
    const std::string prefix = "SOFTWARE\\";
    return path.compare(0, prefix.size(), prefix) == 0 ? path.substr(prefix.size()) : path;
}

// A key that cannot be read for another reason counts as there: its removal names why.
bool KeyThere(const std::string& path)
{
    HKEY raw = nullptr;
    const LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &raw);
    rtl::RegKey key(raw);
    return rc != ERROR_FILE_NOT_FOUND;
}

bool FileThere(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderThere(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TStepResult Outcome(const TStep& step, TOutcome outcome, std::string reason = std::string())
{
    TStepResult r;
    r.Step = step;
    r.Outcome = outcome;
    r.Reason = std::move(reason);
    return r;
}

std::string ErrorText(DWORD error)
{
    return rtl::SysErrorMessage(error) + " (" + std::to_string(error) + ")";
}

TStepResult Failed(const TStep& step, DWORD error)
{
    return Outcome(step, TOutcome::Failed, ErrorText(error));
}

std::string ImagePath(DWORD pid)
{
    rtl::KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return std::string();
    char path[MAX_PATH * 2] = {};
    DWORD size = sizeof path;
    if (!QueryFullProcessImageNameA(process.get(), 0, path, &size)) return std::string();
    return std::string(path, size);
}

// Processes running one of the given files.
std::vector<TRunning> ProcessesOf(const std::vector<std::string>& files)
{
    std::vector<TRunning> running;
    rtl::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));  // fails with INVALID_HANDLE_VALUE
    if (!snapshot) return running;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == GetCurrentProcessId()) continue;
        const std::string image = ImagePath(entry.th32ProcessID);
        if (image.empty()) continue;
        for (const std::string& f : files)
            if (SamePath(image, f)) running.push_back({entry.th32ProcessID, image});
    }
    return running;
}

// Runs a program hidden with its arguments and waits for its end; its exit
// code, or a Win32 error when it could not start or did not end in time.
DWORD RunHidden(const std::string& program, const std::string& arguments, DWORD waitMs, bool& ran)
{
    ran = false;
    std::string line = svc::QuotedImagePath(program) + " " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &si, &pi))
        return GetLastError();
    rtl::KernelHandle process(pi.hProcess), thread(pi.hThread);
    if (WaitForSingleObject(process.get(), waitMs) != WAIT_OBJECT_0) return WAIT_TIMEOUT;
    ran = true;
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return code;
}

// 0 and the state when the service is registered; 1060 when it is not.
DWORD ServiceState(const std::string& name, DWORD& state)
{
    rtl::ScHandle scm(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!scm) return GetLastError();
    rtl::ScHandle service(OpenServiceA(scm.get(), name.c_str(), SERVICE_QUERY_STATUS));
    if (!service) return GetLastError();
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(service.get(), &status)) return GetLastError();
    state = status.dwCurrentState;
    return NO_ERROR;
}

TStepResult RemoveService(const TStep& step)
{
    DWORD state = 0;
    DWORD rc = ServiceState(step.Target, state);
    if (rc == ERROR_SERVICE_DOES_NOT_EXIST) return Outcome(step, TOutcome::Absent);
    if (rc != NO_ERROR) return Failed(step, rc);
    // The program removes its own service; without it the manager does.
    if (FileThere(step.Program)) {
        bool ran = false;
        RunHidden(step.Program, "/uninstall /silent", kProgramWaitMs, ran);
    }
    if (ServiceState(step.Target, state) == NO_ERROR) svc::UninstallService(step.Target, kStopWaitMs);
    for (DWORD waited = 0;; waited += 200) {
        rc = ServiceState(step.Target, state);
        if (rc == ERROR_SERVICE_DOES_NOT_EXIST) return Outcome(step, TOutcome::Removed);
        if (waited >= kGoneWaitMs) break;
        Sleep(200);
    }
    if (rc != NO_ERROR) return Failed(step, rc);
    if (state != SERVICE_STOPPED)
        return Outcome(step, TOutcome::Failed,
                       "it did not stop within " + std::to_string(kStopWaitMs / 1000) + " s");
    return Outcome(step, TOutcome::Failed, "it is still registered with the service manager");
}

TStepResult RemoveValue(const TStep& step)
{
    rtl::RegKey key;
    HKEY raw = nullptr;
    LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, step.Target.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &raw);
    key.reset(raw);
    if (rc == ERROR_FILE_NOT_FOUND) return Outcome(step, TOutcome::Absent);
    if (rc != ERROR_SUCCESS) return Failed(step, static_cast<DWORD>(rc));
    rc = RegDeleteValueA(key.get(), step.Name.c_str());
    if (rc == ERROR_FILE_NOT_FOUND) return Outcome(step, TOutcome::Absent);
    if (rc != ERROR_SUCCESS) return Failed(step, static_cast<DWORD>(rc));
    return Outcome(step, TOutcome::Removed);
}

// A key is removed only when it holds nothing but the values the setup writes.
TStepResult RemoveKey(const TStep& step)
{
    {
        rtl::RegKey key;
        HKEY raw = nullptr;
        const LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, step.Target.c_str(), 0, KEY_READ, &raw);
        key.reset(raw);
        if (rc == ERROR_FILE_NOT_FOUND) return Outcome(step, TOutcome::Absent);
        if (rc != ERROR_SUCCESS) return Failed(step, static_cast<DWORD>(rc));
        DWORD keys = 0;
        RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &keys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
        if (keys > 0) return Outcome(step, TOutcome::Kept, "it holds keys of other programs");
        ureg::TRegLoadValue values("SOFTWARE", BelowSoftware(step.Target), HKEY_LOCAL_MACHINE);
        for (int i = 0; i < values.Count(); ++i) {
            const std::string& name = values.Items(i).Name();
            const bool ours = std::any_of(step.Values.begin(), step.Values.end(),
                                          [&](const std::string& v) { return rtl::SameText(v, name); });
            if (!ours) return Outcome(step, TOutcome::Kept, "it holds the value \"" + name + "\" of another program");
        }
    }
    const LONG rc = RegDeleteKeyA(HKEY_LOCAL_MACHINE, step.Target.c_str());
    if (rc == ERROR_FILE_NOT_FOUND) return Outcome(step, TOutcome::Absent);
    if (rc != ERROR_SUCCESS) return Failed(step, static_cast<DWORD>(rc));
    return Outcome(step, TOutcome::Removed);
}

TStepResult RemoveFile(const TStep& step)
{
    if (DeleteFileA(step.Target.c_str())) return Outcome(step, TOutcome::Removed);
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Outcome(step, TOutcome::Absent);
    const bool inUse = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
    // The original uninstaller waits for this copy to end: it leaves the
    // destination folder now and the disk at the next restart.
    if (inUse && step.Kind == TStepKind::OwnFile) {
        if (!SamePath(rtl::ModulePath(), step.Target) && ParkRunningFile(step.Target))
            return Outcome(step, TOutcome::Removed);
        // Running in place (no copy could be made): a second run would find
        // nothing but this file, so Windows removes it at the next restart.
        if (MoveFileExA(step.Target.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT))
            return Outcome(step, TOutcome::Failed, "it is in use; Windows removes it at the next restart");
    }
    if (inUse && !ProcessesOf({step.Target}).empty()) return Outcome(step, TOutcome::Failed, "the program is running");
    return Failed(step, error);
}

TStepResult RemoveFolder(const TStep& step)
{
    if (RemoveDirectoryA(step.Target.c_str())) return Outcome(step, TOutcome::Removed);
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Outcome(step, TOutcome::Absent);
    if (error == ERROR_DIR_NOT_EMPTY) return Outcome(step, TOutcome::Kept, "it is not empty");
    return Failed(step, error);
}

// The server's report files in folder and the temporaries of unfinished
// writes; nothing else of the folder is ours.
std::vector<std::string> ReportFiles(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const rtl::FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find) return names;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (msvc::IsReportFile(found.cFileName) || msvc::IsReportTempFile(found.cFileName))
            names.push_back(found.cFileName);
    } while (FindNextFileA(find.get(), &found));
    return names;
}

TStepResult RemoveReports(const TStep& step)
{
    bool removed = false;
    std::string failures;
    for (const std::string& name : ReportFiles(step.Target)) {
        if (DeleteFileA((step.Target + "\\" + name).c_str())) {
            removed = true;
            continue;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) continue;
        failures += (failures.empty() ? "" : "; ") + name + ": " + ErrorText(error);
    }
    if (!failures.empty()) return Outcome(step, TOutcome::Failed, failures);
    return Outcome(step, removed ? TOutcome::Removed : TOutcome::Absent);
}

}  // namespace

bool LockOutOtherUninstallers(rtl::KernelHandle& lock)
{
    // Waiting is all it takes, and the one right every account keeps to a
    // lock made by another (an uninstall run as SYSTEM, one by an administrator).
    const char* const name = "Global\\quorvaneUninstall";
    lock.reset(CreateMutexExA(nullptr, name, 0, SYNCHRONIZE));
    if (!lock) lock.reset(OpenMutexA(SYNCHRONIZE, FALSE, name));  // no right to make one, but it may be there
    if (!lock) return true;  // neither: work unguarded, as ever
    // Never released by hand: the thread's end (or an abandoned lock, which
    // the next one takes over) frees it.
    const DWORD wait = WaitForSingleObject(lock.get(), 0);
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

TFound FindInstallation(const std::string& ownFolder)
{
    TFound found;
    found.ownFolder = ownFolder;
    TBskSys vendor(false);
    TZevSys product(false);
    if (vendor.Query() == 1) {
        found.vendorKey = vendor.KeyName();
        if (product.Query(&vendor) == 1) {
            // "Key=" names the product key below SOFTWARE as listed.
            found.productKey = product.List().Values("Key");
            for (int i = 0; i < product.Count(); ++i) {
                const rtl::TStringList* record = product.Items(i);
                found.components.push_back({record->Values("DisplayName"), record->Values("Source")});
            }
            ureg::TRegLoadKey keys("SOFTWARE", found.productKey, HKEY_LOCAL_MACHINE);
            if (keys.IndexOfName("Error") < 0)
                for (int i = 0; i < keys.Count(); ++i) found.componentKeys.push_back(keys.Strings(i));
        }
    }
    found.uninstallEntry = KeyThere(UninstallKey);
    bool named = false;
    found.uninstallString = StringValue(HKEY_LOCAL_MACHINE, BelowSoftware(UninstallKey), "UninstallString", named);
    found.runValueData = StringValue(HKEY_LOCAL_MACHINE, BelowSoftware(RunKey), RunValueName, found.runValue);
    found.startMenuFolder = ShellFolder(CSIDL_COMMON_PROGRAMS);
    found.desktopFolder = ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    return found;
}

bool Exists(const TStep& step)
{
    switch (step.Kind) {
    case TStepKind::Service: {
        DWORD state = 0;
        return ServiceState(step.Target, state) != ERROR_SERVICE_DOES_NOT_EXIST;
    }
    case TStepKind::Value: {
        bool found = false;
        StringValue(HKEY_LOCAL_MACHINE, BelowSoftware(step.Target), step.Name.c_str(), found);
        return found;
    }
    case TStepKind::Key:
        return KeyThere(step.Target);
    case TStepKind::File:
    case TStepKind::OwnFile:
        return FileThere(step.Target);
    case TStepKind::Reports:
        return !ReportFiles(step.Target).empty();
    case TStepKind::Folder:
        return FolderThere(step.Target);
    }
    return false;
}

TStepResult Remove(const TStep& step)
{
    switch (step.Kind) {
    case TStepKind::Service:
        return RemoveService(step);
    case TStepKind::Value:
        return RemoveValue(step);
    case TStepKind::Key:
        return RemoveKey(step);
    case TStepKind::File:
    case TStepKind::OwnFile:
        return RemoveFile(step);
    case TStepKind::Reports:
        return RemoveReports(step);
    case TStepKind::Folder:
        return RemoveFolder(step);
    }
    return Outcome(step, TOutcome::Absent);
}

std::vector<TRunning> RunningPrograms(const std::vector<TStep>& plan)
{
    std::vector<std::string> files;
    for (const TStep& s : plan)
        if (s.Kind == TStepKind::File || s.Kind == TStepKind::OwnFile) files.push_back(s.Target);
    return ProcessesOf(files);
}

bool EndPrograms(const std::vector<TRunning>& programs)
{
    bool all = true;
    for (const TRunning& p : programs) {
        rtl::KernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, p.Pid));
        if (!process) continue;  // ended meanwhile, or not ours to end: its file will tell
        TerminateProcess(process.get(), 1);
        if (WaitForSingleObject(process.get(), kEndWaitMs) != WAIT_OBJECT_0) all = false;
    }
    return all;
}

TResult RunPlan(const std::vector<TStep>& plan, const TFound& found, const std::function<void()>& afterServices)
{
    TResult result = ExecutePlan(plan, InstallFolder(found), Remove, afterServices);
    result.ScriptKept = FileThere(result.Folder + "\\" + ScriptFile);
    return result;
}

}  // namespace uninst
