// The run's extraction: the chosen program files, each straight from its
// record in one write, and rci.dat for the server's remote installation.
#include "platform/rtl/files.h"
#include "uinstall.h"

void ExtractPayload(const std::string& folder, const TPayloadRecord& record)
{
    const std::string path = ProgramPath(folder, record.Name);
    const rtl::FileHandle file = rtl::CreateOutputFile(path, GENERIC_READ | GENERIC_WRITE);
    rtl::WriteWhole(file.get(), record.Data, record.Size, path);
}

void WriteRemoteInstallData(const std::string& folder, const TPayloadSet& payloads)
{
    const std::string path = ProgramPath(folder, "rci.dat");
    const rtl::FileHandle file = rtl::CreateOutputFile(path, GENERIC_READ | GENERIC_WRITE);
    // The reader tells the programs apart by their position only.
    for (const TPayloadRecord* record : {payloads.Uninstaller, payloads.DataRetriever, payloads.StartupAgent,
                                         payloads.Agent, payloads.Viewer}) {
        const auto length = RciLengthField(record->Size);
        rtl::WriteWhole(file.get(), length.data(), length.size(), path);
        rtl::WriteWhole(file.get(), record->Data, record->Size, path);
    }
}

void TInstallRun::Extract()
{
    Step(TStep::Extract);
    const std::string& folder = input_.Folder;
    if (Step(TStep::ExtractServer)) ExtractPayload(folder, *payloads_.Server);
    if (Step(TStep::ExtractServerApp)) ExtractPayload(folder, *payloads_.ServerApp);
    if (Step(TStep::ExtractDriver)) ExtractPayload(folder, *payloads_.Driver);
    if (Step(TStep::ExtractRemoteData)) WriteRemoteInstallData(folder, payloads_);
    if (Step(TStep::ExtractDataRetriever)) ExtractPayload(folder, *payloads_.DataRetriever);
    if (Step(TStep::ExtractStartupAgent)) ExtractPayload(folder, *payloads_.StartupAgent);
    if (Step(TStep::ExtractAgent)) ExtractPayload(folder, *payloads_.Agent);
    if (Step(TStep::ExtractViewer)) ExtractPayload(folder, *payloads_.Viewer);
    if (Step(TStep::ExtractUninstaller)) ExtractPayload(folder, *payloads_.Uninstaller);
}
