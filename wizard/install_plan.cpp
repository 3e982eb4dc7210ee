#include "install_plan.h"

#include "programs/common/components.h"

#include <cctype>

namespace {

struct TStepInfo {
    TStep Step;
    const char* Text;
};

// In run order; each entry's position is its step's value.
constexpr TStepInfo Steps[StepCount] = {
    {TStep::Start, "Starting installation"},
    {TStep::RegistryAccess, "Checking access to system registry"},
    {TStep::ServiceManagerAccess, "Checking access to service manager"},
    {TStep::CreateFolder, "Creating folder"},
    {TStep::Extract, "Extracting files"},
    {TStep::ExtractServer, "Extracting quorvane Enterprise Server file"},
    {TStep::ExtractServerApp, "Extracting quorvane Enterprise Ridir Control file"},
    {TStep::ExtractDriver, "Extracting dll : dbexpmss.dll"},
    {TStep::ExtractRemoteData, "Extracting remote installation data"},
    {TStep::ExtractDataRetriever, "Extracting quorvane Data Retriever file"},
    {TStep::ExtractStartupAgent, "Extracting quorvane Startup Agent file"},
    {TStep::ExtractAgent, "Extracting quorvane Agent file"},
    {TStep::ExtractViewer, "Extracting quorvane Viewer file"},
    {TStep::ExtractUninstaller, "Extracting quorvane Uninstaller"},
    {TStep::Register, "Registering to windows"},
    {TStep::RegisterVendor, "Registering Vendor"},
    {TStep::RegisterProduct, "Registering quorvane"},
    {TStep::RegisterUninstaller, "Registering quorvane Uninstaller"},
    {TStep::RegisterServer, "Registering quorvane Enterprise Server"},
    {TStep::RegisterServerApp, "Registering quorvane Enterprise Ridir Control"},
    {TStep::RegisterDataRetriever, "Registering quorvane Data Retriever"},
    {TStep::RegisterAgent, "Registering quorvane Agent"},
    {TStep::RegisterViewer, "Registering quorvane Viewer"},
    {TStep::ReleaseRegistration, ""},
    {TStep::DatabaseSetup, "Seting up database"},
    {TStep::DatabaseConnect, "Establishing connection"},
    {TStep::DatabaseCreate, "Creating database"},
    {TStep::DatabaseLogin, "Adding login"},
    {TStep::DatabaseObjects, "Adding database objects"},
    {TStep::DatabaseScript, "Scripting to batch (sql) file"},
    {TStep::StartServices, "Starting services"},
    {TStep::StartServer, "Starting Server"},
    {TStep::StartDataRetriever, "Starting Data Retriever"},
    {TStep::StartAgent, "Starting Agent"},
    {TStep::Shortcuts, "Creating shortcuts"},
};

struct TComponentInfo {
    const char* DisplayName;
    const char* Guid;
    const char* Program;
    bool Connection;  // Host, Server, Client lines
    bool LocalAlways; // "Local=" even when FLocal is empty
    bool Local;       // a Local line when FLocal is not empty
    bool Database;    // HostName, DataBase, User_Name, Password
    bool RdcPath;
};

constexpr TComponentInfo Components[] = {
    {"quorvane Enterprise Server", svc::ServerServiceGuid, "msvc.exe", true, true, true, true, true},
    {"quorvane Enterprise Control", svc::ServerAppGuid, "zevman.exe", true, true, true, true,
     false},
    {"quorvane Data Retriever", svc::DataRetrieverGuid, "dsvc.exe", false, false, false, false,
     false},
    {"quorvane Agent", svc::AgentGuid, "csvc.exe", true, false, true, false, false},
    {"quorvane Viewer", svc::ViewerGuid, "zev.exe", false, false, true, false, false},
};

const TComponentInfo& Info(TComponent component)
{
    return Components[static_cast<int>(component)];
}

}  // namespace

const char* StepText(TStep step)
{
    return Steps[static_cast<int>(step)].Text;
}

bool StepApplies(TStep step, const TInstallInput& in, const TRegisteredState& registered)
{
    const bool client = in.Agent || in.UserApp;
    switch (step) {
    case TStep::ExtractServer:
    case TStep::ExtractServerApp:
    case TStep::ExtractDriver:
    case TStep::ExtractRemoteData:
    case TStep::RegisterServer:
    case TStep::RegisterServerApp:
        return in.Server;
    case TStep::ExtractDataRetriever:
    case TStep::ExtractStartupAgent:
    case TStep::RegisterDataRetriever:
    case TStep::StartDataRetriever:
        return client;
    case TStep::ExtractAgent:
    case TStep::RegisterAgent:
    case TStep::StartAgent:
        return in.Agent;
    case TStep::ExtractViewer:
    case TStep::RegisterViewer:
        return in.UserApp;
    case TStep::RegisterVendor:
        return !registered.Vendor;
    case TStep::RegisterProduct:
        return !registered.Product;
    case TStep::DatabaseSetup:
    case TStep::DatabaseConnect:
    case TStep::DatabaseCreate:
    case TStep::DatabaseLogin:
    case TStep::DatabaseObjects:
    case TStep::StartServer:
        return in.Server && in.Create;
    case TStep::DatabaseScript:
        return in.Server && in.Script;
    case TStep::Shortcuts:
        return in.Server || in.UserApp;
    default:
        return true;
    }
}

std::vector<std::string> PlanSteps(const TInstallInput& input, const TRegisteredState& registered)
{
    std::vector<std::string> texts;
    for (const TStepInfo& s : Steps)
        if (StepApplies(s.Step, input, registered) && *s.Text != '\0') texts.emplace_back(s.Text);
    return texts;
}

std::string ProgramPath(const std::string& folder, const std::string& name)
{
    return folder + "\\" + name;
}

std::string QuotedProgramPath(const std::string& folder, const std::string& name)
{
    std::string quoted = "\"";
    quoted += ProgramPath(folder, name);
    quoted += '"';
    return quoted;
}

bool IsFullPath(const std::string& folder)
{
    if (folder.size() >= 3 && std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':' &&
        folder[2] == '\\')
        return true;
    // "\\server\share": a server name, a backslash, then a share name.
    if (folder.size() < 5 || folder[0] != '\\' || folder[1] != '\\') return false;
    const std::size_t slash = folder.find('\\', 2);
    return slash != std::string::npos && slash > 2 && slash + 1 < folder.size() && folder[slash + 1] != '\\';
}

std::vector<std::string> ComponentRecord(TComponent component, const std::string& fileVersionLine,
                                         const std::string& productVersionLine, const std::string& uninstallVersion,
                                         const std::string& folder, const TInstallSettings& s)
{
    const TComponentInfo& c = Info(component);
    std::vector<std::string> lines = {
        std::string("DisplayName=") + c.DisplayName,
        std::string("Id=") + c.Guid,
        fileVersionLine,
        productVersionLine,
        "Uninstall=" + uninstallVersion,
        "Source=" + ProgramPath(folder, c.Program),
    };
    if (c.Connection) {
        lines.push_back("Host=" + s.Host);
        lines.push_back("Server=" + s.Server);
        lines.push_back("Client=" + s.Client);
    }
    if (c.LocalAlways || (c.Local && !s.Local.empty())) lines.push_back("Local=" + s.Local);
    lines.push_back("Data=" + s.Data);
    if (c.Database) {
        lines.push_back("HostName=" + s.DbHost);
        lines.push_back("DataBase=" + s.DbName);
        lines.push_back("User_Name=" + s.DbUser);
        lines.push_back("Password=" + s.DbPass);
    }
    if (c.RdcPath) lines.push_back("RdcPath=");
    return lines;
}

const char* ComponentGuid(TComponent component)
{
    return Info(component).Guid;
}

const char* ComponentProgram(TComponent component)
{
    return Info(component).Program;
}

std::array<std::uint8_t, 8> RciLengthField(std::uint32_t size)
{
    std::array<std::uint8_t, 8> field{};
    for (int i = 0; i < 4; ++i) field[i] = static_cast<std::uint8_t>(size >> (8 * i));
    return field;
}
