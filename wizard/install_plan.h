// The installation run's rules that need no window and no system call: its
// inputs, which status steps a choice shows and in what order, the component
// records, the rci.dat length fields and the paths the run builds.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The nine installation settings, as the stage checks stored them.
struct TInstallSettings {
    std::string Host, Server, Client, Local, Data;
    std::string DbHost, DbName, DbUser, DbPass;
};

// Everything the run reads from the wizard, as one plain value.
struct TInstallInput {
    bool Server = false;   // S: "Service and Application"
    bool Agent = false;    // A: "Agent (server must be up)"
    bool UserApp = false;  // U: "User Application"
    bool Create = false;   // C: cbCreate
    bool Script = false;   // Q: cbScript
    std::string Folder;    // the text of leFolder, as entered
    TInstallSettings Settings;
};

// The steps of the run, in their fixed order.
enum class TStep {
    Start, RegistryAccess, ServiceManagerAccess, CreateFolder, Extract,
    ExtractServer, ExtractServerApp, ExtractDriver, ExtractRemoteData, ExtractDataRetriever, ExtractStartupAgent,
    ExtractAgent, ExtractViewer, ExtractUninstaller,
    Register, RegisterVendor, RegisterProduct, RegisterUninstaller, RegisterServer, RegisterServerApp,
    RegisterDataRetriever, RegisterAgent, RegisterViewer, ReleaseRegistration,
    DatabaseSetup, DatabaseConnect, DatabaseCreate, DatabaseLogin, DatabaseObjects, DatabaseScript,
    StartServices, StartServer, StartDataRetriever, StartAgent, Shortcuts,
};
inline constexpr int StepCount = 35;

// What registration found before it wrote anything.
struct TRegisteredState {
    bool Vendor = false;   // the vendor query found its key
    bool Product = false;  // the product query found its key
};

// The status text of a step; empty for the step that shows none.
const char* StepText(TStep step);
// Whether a step runs for this input and what registration found.
bool StepApplies(TStep step, const TInstallInput& input, const TRegisteredState& registered);
// The status texts a run shows, in order, when nothing fails.
std::vector<std::string> PlanSteps(const TInstallInput& input, const TRegisteredState& registered);

// Folder + "\" + name, joined as they are (a folder ending in "\" gives "\\").
std::string ProgramPath(const std::string& folder, const std::string& name);
// The same path in double quotes, for values Windows parses as a command line.
std::string QuotedProgramPath(const std::string& folder, const std::string& name);
// A drive letter, colon and backslash, or a UNC prefix "\\server\share".
bool IsFullPath(const std::string& folder);

// The components that get a record below the product key.
enum class TComponent { ServerService, ServerApp, DataRetriever, Agent, Viewer };

// The lines of a component's record. fileVersionLine and productVersionLine
// are whole "FileVersion=..." and "ProductVersion=..." lines of its program,
// uninstallVersion the uninstaller's FileVersion text.
std::vector<std::string> ComponentRecord(TComponent component, const std::string& fileVersionLine,
                                         const std::string& productVersionLine, const std::string& uninstallVersion,
                                         const std::string& folder, const TInstallSettings& settings);
// The braced GUID naming a component's key.
const char* ComponentGuid(TComponent component);
// The program a component's record points at ("msvc.exe", ...).
const char* ComponentProgram(TComponent component);

// The 8-byte length field before each program in rci.dat: the size as an
// unsigned 64-bit little-endian number.
std::array<std::uint8_t, 8> RciLengthField(std::uint32_t size);
