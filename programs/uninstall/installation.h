// What the setup leaves on a machine, and the removal of exactly that: the
// plan of steps built from the records found, the outcome of each step, the
// result with its exit code, and the command line. No Win32 here.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace uninst {

// Exit codes of Uninstall.exe.
enum TExitCode : int {
    ecRemoved = 0,       // everything the setup wrote is gone
    ecBadCommandLine = 1,
    ecNothingFound = 2,  // nothing installed; nothing changed
    ecPartial = 3,       // some parts remain; the result names them
    ecCancelled = 4,     // the user declined; nothing changed
    ecBusy = 5,          // another uninstaller is at work; nothing changed
};

// One installed part of the product: its component record's key name, the
// program the setup writes for it and, for a service program, its service.
struct TComponentInfo {
    const char* guid;
    const char* displayName;
    const char* program;
    const char* service;  // nullptr for a program that is no service
};
extern const TComponentInfo kComponents[5];

extern const char* const UninstallKey;  // below HKLM, the uninstall entry
extern const char* const RunKey;
extern const char* const RunValueName;
extern const char* const UninstallerFile;
extern const char* const ScriptFile;  // setup.sql, kept

// What the finder read from the machine.
struct TFoundComponent {
    std::string displayName;  // from its record
    std::string source;       // its record's Source line, the program's path
};

struct TFound {
    std::string vendorKey;   // below SOFTWARE; empty when no vendor key of ours was found
    std::string productKey;  // below SOFTWARE (vendorKey\product); empty when none
    std::vector<TFoundComponent> components;
    std::vector<std::string> componentKeys;  // the product key's sub-keys, as listed
    bool uninstallEntry = false;
    std::string uninstallString;  // its UninstallString
    bool runValue = false;
    std::string runValueData;
    std::string ownFolder;  // the folder the original Uninstall.exe was started from
    std::string startMenuFolder;  // the common programs folder (CSIDL 23)
    std::string desktopFolder;    // the common desktop (CSIDL 25)
};

// The destination folder: the uninstall entry's, else a component record's,
// else the uninstaller's own folder.
std::string InstallFolder(const TFound& found);

enum class TStepKind {
    Service,       // stop and remove a service; Program is its program's path
    Value,         // a registry value below HKLM: Key, Name
    Key,           // a registry key below HKLM, removed only when it holds nothing but Values
    File,          // a file the setup wrote
    Reports,       // the server's report files in the folder Target, and their leftover temporaries
    OwnFile,       // the original Uninstall.exe
    Folder,        // a folder, removed only when empty
};

struct TStep {
    TStepKind Kind;
    std::string Target;               // service name, key path, file or folder path
    std::string Name;                 // value name (Value)
    std::string Program;              // service program (Service)
    std::vector<std::string> Values;  // the values the setup writes to the key (Key)
    // What a second run needs (the uninstaller, its entry and shortcut, the
    // folders holding them): kept while anything before could not be removed.
    bool Final = false;
    std::string Describe() const;
};

// The steps, in order: services, the Run value, the component keys, the
// product and vendor keys, the shortcuts and files of the programs, the
// server's reports and their folder when empty, then the final steps: the uninstaller's shortcut, the Start-menu folder, the
// uninstall entry, the uninstaller, the destination folder and its empty
// vendor parent. setup.sql is never among them.
std::vector<TStep> BuildPlan(const TFound& found);

enum class TOutcome {
    Absent,   // nothing there to remove
    Removed,
    Kept,     // not ours alone (a key or folder holding other entries): left as it was
    Failed,
};

struct TStepResult {
    TStep Step;
    TOutcome Outcome = TOutcome::Absent;
    std::string Reason;  // why it failed or was kept
};

struct TResult {
    std::vector<TStepResult> Steps;
    bool ScriptKept = false;  // setup.sql was there and stays
    std::string Folder;
    int ExitCode() const;
    // The lines shown or printed at the end: what happened, what could not
    // be removed and why, and what was kept.
    std::vector<std::string> Lines() const;
};

// Whether anything of the installation is there (present: per plan step).
// The uninstaller's own file and the folders alone are no installation: an
// Uninstall.exe in a download folder finds nothing and removes nothing.
bool AnythingInstalled(const std::vector<TStep>& plan, const std::vector<bool>& present);

// Runs the plan through remove, one step after the other; afterServices is
// called once the services are done (to ask about running programs). The
// final steps are kept when an earlier step failed, so that a second run can
// finish the removal.
TResult ExecutePlan(const std::vector<TStep>& plan, const std::string& folder,
                    const std::function<TStepResult(const TStep&)>& remove,
                    const std::function<void()>& afterServices = {});

// The confirmation list: first the components found by name, then one line
// for each kind of thing there to remove (present holds, per plan step,
// whether it is there); Header marks the closing line of what is kept.
struct TListLine {
    std::string Text;
    bool Header = false;
};
std::vector<TListLine> ConfirmationLines(const TFound& found, const std::vector<TStep>& plan,
                                         const std::vector<bool>& present);

struct TCommandLine {
    bool Silent = false;
    bool Help = false;
    std::string Origin;  // set in the temporary copy: the original's path
    unsigned long Parent = 0;  // set in the temporary copy: the original's process id
    std::string Error;  // not empty for a bad command line
};

// Switches are case-insensitive and start with "/" or "-".
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string Usage();

// Folder part of a path (without the trailing backslash) and file part.
std::string FolderOf(const std::string& path);
std::string FileOf(const std::string& path);

// The path in an UninstallString, without surrounding quotes and arguments.
std::string CommandPath(const std::string& command);

}  // namespace uninst
