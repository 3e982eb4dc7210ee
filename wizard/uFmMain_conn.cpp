// TFmMain: the stage-2 check.
#include "protocol/install_query.h"
#include "uFmMain.h"

namespace {

// The install query waits at most this long for the server to take the
// connection, and as long again for its reply line, so that a server that is
// down or hung leaves the user with a message, not a window that never wakes.
constexpr unsigned kServerConnectMs = 10000;
constexpr unsigned kServerReplyMs = 10000;

}  // namespace

// Each branch stores only after its last network step succeeded: a check that
// raises leaves every setting as it was.
void TFmMain::CheckConnectionStage()
{
    const TComponentChoice choice = Choice();
    if (choice.Server) {
        // This machine will listen on all four ports: prove it can, now.
        proto::ProbeServerPorts(leHost->Text(), leServer->Text(), leClient->Text(), leLocal->Text(), leData->Text());
        FHost = leHost->Text();
        FServer = leServer->Text();
        FClient = leClient->Text();
        FLocal = leLocal->Text();
        FData = leData->Text();
    } else if (choice.Agent) {
        // The typed address and port only reach the server; what it reports
        // is what the agent will use.
        const proto::TInstallSettings reported =
            proto::QueryInstallSettings(leHost->Text(), leServer->Text(), kServerConnectMs, kServerReplyMs);
        FHost = reported.Host;
        FServer = reported.Server;
        FData = reported.Data;
        FClient = reported.Client;
        FLocal = reported.Local;
    } else {
        // The data service listens on the loopback address only.
        proto::ProbeDataPort(leData->Text());
        FData = leData->Text();
    }
}
