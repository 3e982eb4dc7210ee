#include "installation.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>

#include "programs/common/components.h"
#include "programs/msvc/report_file.h"
#include "wizard/install_plan.h"

namespace uninst {

// GUIDs and programs as the setup's run names them.
const TComponentInfo kComponents[5] = {
    {ComponentGuid(TComponent::ServerService), "quorvane Enterprise Server",
     ComponentProgram(TComponent::ServerService), svc::ServerServiceName},
    {ComponentGuid(TComponent::ServerApp), "quorvane Enterprise Control", ComponentProgram(TComponent::ServerApp),
     nullptr},
    {ComponentGuid(TComponent::DataRetriever), "quorvane Data Retriever", ComponentProgram(TComponent::DataRetriever),
     svc::DataServiceName},
    {ComponentGuid(TComponent::Agent), "quorvane Agent", ComponentProgram(TComponent::Agent), svc::AgentServiceName},
    {ComponentGuid(TComponent::Viewer), "quorvane Viewer", ComponentProgram(TComponent::Viewer), nullptr},
};

const char* const UninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{47F45A1D-BB47-42A4-8DAF-628E428695DC}";
const char* const RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const RunValueName = "quorvanestartupagent";
const char* const UninstallerFile = "Uninstall.exe";
const char* const ScriptFile = "setup.sql";

namespace {

const char* const kStartMenuFolder = "quorvane";
const char* const kSecondRun = "kept for a second run of Uninstall";
const char* const kVendorFolder = "Bsk";
// Shortcuts: in the Start-menu folder, and which also on the desktop.
struct TShortcut {
    const char* file;
    bool desktop;
};
const TShortcut kShortcuts[] = {
    {"quorvane Enterprise Ridir Control.lnk", true},
    {"quorvane Viewer.lnk", true},
    {"Uninstall quorvane.lnk", false},
};
// The files the setup writes besides the uninstaller, in the order it writes them.
const char* const kFiles[] = {"msvc.exe", "zevman.exe", "dbexpmss.dll", "rci.dat",
                              "dsvc.exe", "uload.exe", "csvc.exe",   "zev.exe"};

bool Same(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A folder text as the setup may have taken it, with trailing backslashes
// dropped, except the one of a drive root.
std::string TrimFolder(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '\\' && !(folder.size() == 3 && folder[1] == ':')) folder.pop_back();
    return folder;
}

bool IsRoot(const std::string& folder)
{
    return folder.empty() || (folder.size() <= 3 && folder.size() >= 2 && folder[1] == ':') || folder == "\\";
}

std::string Join(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == '\\') return folder + name;
    return folder + "\\" + name;
}

TStep Step(TStepKind kind, std::string target, std::string name = std::string())
{
    TStep s;
    s.Kind = kind;
    s.Target = std::move(target);
    s.Name = std::move(name);
    return s;
}

TStep KeyStep(std::string path, std::vector<std::string> values)
{
    TStep s = Step(TStepKind::Key, std::move(path));
    s.Values = std::move(values);
    return s;
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && Same(text.substr(text.size() - tail.size()), tail);
}

}  // namespace

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('\\');
    if (slash == std::string::npos) return std::string();
    return TrimFolder(path.substr(0, slash + 1));
}

std::string FileOf(const std::string& path)
{
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CommandPath(const std::string& command)
{
    std::size_t start = command.find_first_not_of(' ');
    if (start == std::string::npos) return std::string();
    if (command[start] == '"') {
        const auto end = command.find('"', start + 1);
        return command.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    }
    // The setup writes the path as it is, blanks included: take all of it
    // up to a switch.
    const auto sw = command.find(" /", start);
    std::string path = command.substr(start, sw == std::string::npos ? std::string::npos : sw - start);
    while (!path.empty() && path.back() == ' ') path.pop_back();
    return path;
}

std::string InstallFolder(const TFound& found)
{
    if (found.uninstallEntry) {
        const std::string path = CommandPath(found.uninstallString);
        if (Same(FileOf(path), UninstallerFile) && !FolderOf(path).empty()) return FolderOf(path);
    }
    for (const TFoundComponent& c : found.components)
        if (!FolderOf(c.source).empty()) return FolderOf(c.source);
    return TrimFolder(found.ownFolder);
}

std::string TStep::Describe() const
{
    switch (Kind) {
    case TStepKind::Service:
        return "service " + Target;
    case TStepKind::Value:
        return "registry value HKLM\\" + Target + " " + Name;
    case TStepKind::Key:
        return "registry key HKLM\\" + Target;
    case TStepKind::File:
    case TStepKind::OwnFile:
        return (EndsWith(Target, ".lnk") ? "shortcut " : "file ") + Target;
    case TStepKind::Reports:
        return "reports in " + Target;
    case TStepKind::Folder:
        return "folder " + Target;
    }
    return Target;
}

std::vector<TStep> BuildPlan(const TFound& found)
{
    const std::string folder = InstallFolder(found);
    std::vector<TStep> plan;

    for (const TComponentInfo& c : kComponents) {
        if (c.service == nullptr) continue;
        TStep s = Step(TStepKind::Service, c.service);
        s.Program = Join(folder, c.program);
        plan.push_back(s);
    }

    // The Run value is ours only while it starts our startup agent (quoted
    // or not, as setups of different ages wrote it).
    const std::string agent = CommandPath(found.runValueData);
    if (found.runValue && Same(FileOf(agent), "uload.exe") && Same(FolderOf(agent), folder))
        plan.push_back(Step(TStepKind::Value, RunKey, RunValueName));

    if (!found.productKey.empty()) {
        // Only the component keys the setup writes; another key keeps the product key.
        for (const std::string& name : found.componentKeys)
            for (const TComponentInfo& c : kComponents)
                if (Same(name, c.guid)) plan.push_back(KeyStep("SOFTWARE\\" + found.productKey + "\\" + name, {"Data"}));
        plan.push_back(KeyStep("SOFTWARE\\" + found.productKey, {"DisplayName"}));
    }
    if (!found.vendorKey.empty()) plan.push_back(KeyStep("SOFTWARE\\" + found.vendorKey, {"DisplayName", "Id"}));

    const std::string menu = found.startMenuFolder.empty() ? std::string() : Join(found.startMenuFolder, kStartMenuFolder);
    for (const TShortcut& s : kShortcuts) {
        if (!s.desktop) continue;
        if (!menu.empty()) plan.push_back(Step(TStepKind::File, Join(menu, s.file)));
        if (!found.desktopFolder.empty()) plan.push_back(Step(TStepKind::File, Join(found.desktopFolder, s.file)));
    }
    for (const char* file : kFiles) plan.push_back(Step(TStepKind::File, Join(folder, file)));
    // msvc.exe keeps them beside itself; taken once the services are stopped,
    // so no report arrives after.
    const std::string reports = Join(folder, msvc::ReportFolderName);
    plan.push_back(Step(TStepKind::Reports, reports));
    plan.push_back(Step(TStepKind::Folder, reports));

    const std::size_t final = plan.size();
    if (!menu.empty()) {
        for (const TShortcut& s : kShortcuts)
            if (!s.desktop) plan.push_back(Step(TStepKind::File, Join(menu, s.file)));
        plan.push_back(Step(TStepKind::Folder, menu));
    }
    if (found.uninstallEntry)
        plan.push_back(KeyStep(UninstallKey, {"DisplayName", "UninstallString", "Publisher", "DisplayIcon",
                                              "RegCompany", "RegOwner"}));
    plan.push_back(Step(TStepKind::OwnFile, Join(folder, UninstallerFile)));
    if (!IsRoot(folder)) {
        plan.push_back(Step(TStepKind::Folder, folder));
        // The setup's default folder lies in a vendor folder it created too.
        const std::string parent = FolderOf(folder);
        if (Same(FileOf(folder), "quorvane") && Same(FileOf(parent), kVendorFolder) && !IsRoot(parent))
            plan.push_back(Step(TStepKind::Folder, parent));
    }
    for (std::size_t i = final; i < plan.size(); ++i) plan[i].Final = true;
    return plan;
}

bool AnythingInstalled(const std::vector<TStep>& plan, const std::vector<bool>& present)
{
    for (std::size_t i = 0; i < plan.size() && i < present.size(); ++i)
        if (present[i] && plan[i].Kind != TStepKind::OwnFile && plan[i].Kind != TStepKind::Folder &&
            plan[i].Kind != TStepKind::Reports)
            return true;
    return false;
}

TResult ExecutePlan(const std::vector<TStep>& plan, const std::string& folder,
                    const std::function<TStepResult(const TStep&)>& remove, const std::function<void()>& afterServices)
{
    TResult result;
    result.Folder = folder;
    bool failed = false, servicesDone = false;
    for (const TStep& step : plan) {
        if (!servicesDone && step.Kind != TStepKind::Service) {
            servicesDone = true;
            if (afterServices) afterServices();
        }
        if (step.Final && failed) {
            TStepResult kept;
            kept.Step = step;
            kept.Outcome = TOutcome::Kept;
            kept.Reason = kSecondRun;
            result.Steps.push_back(kept);
            continue;
        }
        result.Steps.push_back(remove(step));
        failed = failed || result.Steps.back().Outcome == TOutcome::Failed;
    }
    return result;
}

int TResult::ExitCode() const
{
    bool any = false;
    for (const TStepResult& r : Steps) {
        if (r.Outcome == TOutcome::Failed) return ecPartial;
        if (r.Outcome != TOutcome::Absent) any = true;
    }
    return any ? ecRemoved : ecNothingFound;
}

std::vector<std::string> TResult::Lines() const
{
    std::vector<std::string> lines;
    const int code = ExitCode();
    if (code == ecNothingFound) {
        lines.push_back("No installation of quorvane was found on this computer; nothing was changed.");
        return lines;
    }
    if (code == ecRemoved) {
        lines.push_back("quorvane has been removed from this computer.");
    } else {
        lines.push_back("quorvane could not be removed completely. Not removed:");
        for (const TStepResult& r : Steps)
            if (r.Outcome == TOutcome::Failed) lines.push_back("  " + r.Step.Describe() + ": " + r.Reason);
        lines.push_back("Run Uninstall again when these are free to finish the removal.");
    }
    if (ScriptKept) lines.push_back("Kept: " + Join(Folder, ScriptFile) + ", the database script.");
    bool secondRun = false;
    for (const TStepResult& r : Steps) {
        if (r.Outcome != TOutcome::Kept) continue;
        if (r.Reason == kSecondRun) secondRun = true;
        else lines.push_back("Kept: " + r.Step.Describe() + ", " + r.Reason + ".");
    }
    if (secondRun)
        lines.push_back("Kept for a second run: Uninstall.exe, its shortcut and its entry in the installed programs.");
    lines.push_back("Kept: the quorvane database on the SQL Server.");
    return lines;
}

std::vector<TListLine> ConfirmationLines(const TFound& found, const std::vector<TStep>& plan,
                                         const std::vector<bool>& present)
{
    // In the setup's order, whatever order the registry lists the keys in.
    auto rank = [](const TFoundComponent& c) {
        for (std::size_t i = 0; i < std::size(kComponents); ++i)
            if (c.displayName == kComponents[i].displayName) return i;
        return std::size(kComponents);
    };
    std::vector<TFoundComponent> components = found.components;
    std::stable_sort(components.begin(), components.end(),
                     [&](const TFoundComponent& a, const TFoundComponent& b) { return rank(a) < rank(b); });
    std::vector<TListLine> lines;
    for (const TFoundComponent& c : components) lines.push_back({c.displayName, false});
    std::string services;
    bool registry = false, shortcuts = false, files = false, reports = false;
    for (std::size_t i = 0; i < plan.size() && i < present.size(); ++i) {
        if (!present[i]) continue;
        const TStep& s = plan[i];
        switch (s.Kind) {
        case TStepKind::Service:
            services += (services.empty() ? "" : ", ") + s.Target;
            break;
        case TStepKind::Value:
        case TStepKind::Key:
            registry = true;
            break;
        case TStepKind::File:
        case TStepKind::OwnFile:
            (EndsWith(s.Target, ".lnk") ? shortcuts : files) = true;
            break;
        case TStepKind::Reports:
            reports = true;
            break;
        case TStepKind::Folder:
            break;
        }
    }
    if (!services.empty()) lines.push_back({"Services " + services, false});
    if (registry) lines.push_back({"Registry records", false});
    if (shortcuts) lines.push_back({"Start-menu folder quorvane and desktop shortcuts", false});
    if (files) lines.push_back({"Program files in " + InstallFolder(found), false});
    if (reports) lines.push_back({"The agents' reports kept by the server", false});
    lines.push_back({"Kept: setup.sql and the quorvane database on the SQL Server", true});
    return lines;
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    TCommandLine cl;
    auto isSwitch = [](const std::string& arg, const char* name) {
        return arg.size() > 1 && (arg[0] == '/' || arg[0] == '-') && Same(arg.substr(1), name);
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (isSwitch(a, "silent")) {
            cl.Silent = true;
        } else if (isSwitch(a, "?") || isSwitch(a, "help")) {
            cl.Help = true;
        } else if (isSwitch(a, "origin") && i + 1 < args.size()) {
            cl.Origin = args[++i];
        } else if (isSwitch(a, "parent") && i + 1 < args.size()) {
            const std::string& n = args[++i];
            char* end = nullptr;
            const unsigned long pid = std::strtoul(n.c_str(), &end, 10);
            if (n.empty() || *end != '\0' || pid == 0) {
                if (cl.Error.empty()) cl.Error = "Not a process id: \"" + n + "\"";
                continue;
            }
            cl.Parent = pid;
        } else if (cl.Error.empty()) {
            // The rest is still read: a "/silent" after it keeps the error from asking.
            cl.Error = "Unknown argument \"" + a + "\"";
        }
    }
    return cl;
}

std::string Usage()
{
    return "Uninstall.exe [/silent] [/?]\r\n"
           "\r\n"
           "Removes quorvane from this computer: its services, registry records,\r\n"
           "shortcuts and program files. setup.sql and the database are kept.\r\n"
           "\r\n"
           "  /silent  asks nothing; running quorvane programs are named, not ended\r\n"
           "  /?       shows this text\r\n"
           "\r\n"
           "Exit codes:\r\n"
           "  0  everything was removed\r\n"
           "  1  bad command line\r\n"
           "  2  nothing was found to remove; nothing was changed\r\n"
           "  3  some parts could not be removed; they are named, and a second run\r\n"
           "     finishes the removal\r\n"
           "  4  cancelled by the user; nothing was changed\r\n"
           "  5  another uninstaller is at work; nothing was changed\r\n";
}

}  // namespace uninst
