// The run's registration: vendor, product, the uninstall entry, one record
// per chosen component and the startup agent's Run value, all through one
// writer; each service program registers itself right after its record.
#include <memory>

#include "query/ucfg.h"
#include "query/uownver.h"
#include "registry/ureg.h"
#include "uinstall.h"

namespace {

const char* const UninstallGuid = "{47F45A1D-BB47-42A4-8DAF-628E428695DC}";
const char* const VendorName = "Brantel Sukma Teknika";

// The whole line of that name; a program without it raises the list's
// "List index out of bounds (-1)".
std::string VersionLine(const TVer& version, const char* name)
{
    const rtl::TStringList& lines = version.List();
    return lines.Strings(lines.IndexOfName(name));
}

}  // namespace

void TInstallRun::RegisterComponent(ureg::TSetReg& writer, const std::string& vendorKey, TComponent component,
                                    const std::string& uninstallVersion)
{
    const std::string& folder = input_.Folder;
    TVer version(false);
    version.Query(ProgramPath(folder, ComponentProgram(component)).c_str());
    const std::vector<std::string> lines =
        ComponentRecord(component, VersionLine(version, VersionInfoKeys[2]), VersionLine(version, VersionInfoKeys[8]),
                        uninstallVersion, folder, input_.Settings);
    writer.SetKey("SOFTWARE", vendorKey + "\\" + ProductGuid + "\\" + ComponentGuid(component), HKEY_LOCAL_MACHINE);
    for (const std::string& line : lines) writer.Add(line);
    writer.Write("Data");
}

void TInstallRun::Register()
{
    Step(TStep::Register);
    const std::string& folder = input_.Folder;
    TBskSys vendor(true);
    auto product = std::make_unique<TZevSys>(false);
    product->Query(&vendor);
    registered_ = {vendor.State() == 1, product->State() == 1};
    const std::string v = vendor.KeyName();

    ureg::TSetReg writer("SOFTWARE", v, HKEY_LOCAL_MACHINE);
    if (Step(TStep::RegisterVendor)) {
        writer.Add(std::string("DisplayName=") + VendorName);
        writer.Add(std::string("Id=") + VendorGuid);
        writer.Write("");
    }
    if (Step(TStep::RegisterProduct)) {
        writer.SetKey("SOFTWARE", v + "\\" + ProductGuid, HKEY_LOCAL_MACHINE);
        writer.Add("DisplayName=quorvane");
        writer.Write("");
    }
    product.reset();

    Step(TStep::RegisterUninstaller);
    TVer uninstaller(false);
    uninstaller.Query(ProgramPath(folder, payloads_.Uninstaller->Name).c_str());
    const std::string uninstallVersion = uninstaller.List().Values(VersionInfoKeys[2]);
    writer.SetKey("SOFTWARE", std::string("Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + UninstallGuid,
                  HKEY_LOCAL_MACHINE);
    writer.Add("DisplayName=quorvane");
    // Windows runs this as a command line: quoted, so that a folder with
    // blanks never starts C:\Program.exe.
    writer.Add("UninstallString=" + QuotedProgramPath(folder, payloads_.Uninstaller->Name));
    writer.Add(std::string("Publisher=") + VendorName);
    writer.Add("DisplayIcon=" + ProgramPath(folder, payloads_.Uninstaller->Name) + ",1");
    writer.Add("RegCompany=demo");
    writer.Add("RegOwner=demo");
    writer.Write("");

    if (Step(TStep::RegisterServer)) {
        RegisterComponent(writer, v, TComponent::ServerService, uninstallVersion);
        InstallService(ProgramPath(folder, payloads_.Server->Name), owner_);
    }
    if (Step(TStep::RegisterServerApp)) RegisterComponent(writer, v, TComponent::ServerApp, uninstallVersion);
    if (Step(TStep::RegisterDataRetriever)) {
        RegisterComponent(writer, v, TComponent::DataRetriever, uninstallVersion);
        writer.SetKey("SOFTWARE", "Microsoft\\Windows\\CurrentVersion\\Run", HKEY_LOCAL_MACHINE);
        // A command line too, quoted for the same reason.
        writer.Add("quorvanestartupagent=" + QuotedProgramPath(folder, payloads_.StartupAgent->Name));
        writer.Write("");
        InstallService(ProgramPath(folder, payloads_.DataRetriever->Name), owner_);
    }
    if (Step(TStep::RegisterAgent)) {
        RegisterComponent(writer, v, TComponent::Agent, uninstallVersion);
        InstallService(ProgramPath(folder, payloads_.Agent->Name), owner_);
    }
    if (Step(TStep::RegisterViewer)) RegisterComponent(writer, v, TComponent::Viewer, uninstallVersion);
    Step(TStep::ReleaseRegistration);
}
