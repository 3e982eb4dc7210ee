// Uninstall.exe: the quorvane Uninstaller. Started from the installation it
// makes a private temporary copy and lets the copy do the work, so that its
// own file and folder can go; with "/silent" the original waits for the copy
// and ends with the copy's exit code.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "installation.h"
#include "machine.h"
#include "platform/rtl/module.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/forms.h"
#include "selfcopy.h"
#include "uFmUninstall.h"

namespace {

using namespace uninst;

constexpr DWORD kCopyWaitMs = 15 * 60 * 1000;  // the copy's own waits are bounded well below this

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// To the caller's console or output, if it has one; true when written.
bool Print(const std::string& text)
{
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) {
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
        out = GetStdHandle(STD_OUTPUT_HANDLE);
        if (out == nullptr || out == INVALID_HANDLE_VALUE) return false;
    }
    DWORD written = 0;
    return WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) != 0;
}

// Printed in silent mode; otherwise shown.
void Tell(const std::string& text, bool silent)
{
    if (silent) {
        Print(text);
        return;
    }
    std::string shown = text;
    while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) shown.pop_back();
    ui::ShowMessage(shown);
}

bool AskToEnd(HWND owner, const std::vector<TRunning>& running)
{
    std::string names;
    for (const TRunning& r : running) names += (names.empty() ? "" : ", ") + FileOf(r.Path);
    const std::string text =
        "These quorvane programs are running: " + names + ". End them now? If not, their files stay and are named at the end.";
    return MessageBoxA(owner, text.c_str(), ui::Application().Title().c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The work of the copy (or of the original, when no copy could be made).
int Uninstall(const TCommandLine& cl, const std::string& original)
{
    rtl::KernelHandle lock;
    if (!LockOutOtherUninstallers(lock)) {
        Tell("Another quorvane uninstaller is at work on this computer. Let it finish, then start this one again if "
             "anything remains.\r\n",
             cl.Silent);
        return ecBusy;
    }
    const TFound found = FindInstallation(FolderOf(original));
    const std::vector<TStep> plan = BuildPlan(found);
    std::vector<bool> present;
    for (const TStep& s : plan) present.push_back(Exists(s));
    TResult result;
    if (!AnythingInstalled(plan, present)) {
        result.Folder = InstallFolder(found);
        Tell(Joined(result.Lines()), cl.Silent);
        return result.ExitCode();
    }
    if (cl.Silent) {
        // Running programs are left alone: their files fail and are named.
        result = RunPlan(plan, found);
        Print(Joined(result.Lines()));
        return result.ExitCode();
    }

    TFmUninstall confirm(TFmUninstall::TMode::Confirm,
                         "Uninstall removes these parts of quorvane from this computer. "
                         "Press Uninstall to go on, or Cancel to change nothing.",
                         ConfirmationLines(found, plan, present));
    confirm.OnUninstall = [&] {
        // Asked once the services are gone, so that only programs a person started remain.
        result = RunPlan(plan, found, [&] {
            const std::vector<TRunning> running = RunningPrograms(plan);
            if (!running.empty() && AskToEnd(confirm.Handle(), running)) EndPrograms(running);
        });
    };
    if (confirm.ShowModal() != ui::mrOk) return ecCancelled;

    const std::vector<std::string> lines = result.Lines();
    std::vector<TListLine> rest;
    // What could not be removed keeps an empty box; the rest are notes.
    for (std::size_t i = 1; i < lines.size(); ++i) rest.push_back({lines[i], lines[i].rfind("  ", 0) != 0});
    TFmUninstall done(TFmUninstall::TMode::Result, lines.front(), rest);
    done.ShowModal();
    return result.ExitCode();
}

int Run(const std::vector<std::string>& args)
{
    const TCommandLine cl = ParseCommandLine(args);
    if (!cl.Error.empty()) {
        Tell(cl.Error + "\r\n\r\n" + Usage(), cl.Silent);
        return ecBadCommandLine;
    }
    if (cl.Help) {
        if (!Print(Usage())) ui::ShowMessage(Usage());
        return ecRemoved;
    }
    if (!cl.Origin.empty()) {
        // The copy: the original ends at once unless it waits for the exit code.
        if (!cl.Silent && cl.Parent != 0) WaitForOriginal(cl.Parent);
        const int code = Uninstall(cl, cl.Origin);
        // Nobody waits to remove the copy's folder: it goes at the next restart, once empty.
        if (!cl.Silent) ScheduleFolderRemoval(FolderOf(rtl::ModulePath()));
        return code;
    }
    TCopyRun copy;
    std::string error;
    if (!StartCopy(args, copy, error)) {
        // Everything but the uninstaller itself can still go.
        if (!cl.Silent) ui::ShowMessage(error);
        else Print(error + "\r\n");
        return Uninstall(cl, rtl::ModulePath());
    }
    if (!cl.Silent) return ecRemoved;
    if (WaitForSingleObject(copy.Process.get(), kCopyWaitMs) != WAIT_OBJECT_0) {
        Print("The uninstaller's copy did not end in time; quorvane may be removed only in part.\r\n");
        return ecPartial;
    }
    DWORD code = ecPartial;
    GetExitCodeProcess(copy.Process.get(), &code);
    copy.Process.reset();
    RemoveCopyFolder(copy.Folder);
    return static_cast<int>(code);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    rtl::RestrictDllSearch();
    const HRESULT ole = OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    ui::Application().SetTitle("quorvane Uninstall");
    int exitCode = ecPartial;
    try {
        std::vector<std::string> args;
        for (int i = 1; i < __argc; ++i) args.push_back(__argv[i]);
        exitCode = Run(args);
    } catch (const std::exception& e) {
        if (!Print(std::string(e.what()) + "\r\n")) ui::ShowError(e.what());
    }
    if (SUCCEEDED(ole)) OleUninitialize();
    return exitCode;
}
