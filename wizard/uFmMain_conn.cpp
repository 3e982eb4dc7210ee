// TFmMain: the stage-2 check.
#include "uFmMain.h"

// PLACEHOLDER until the network layer arrives: the port probe (server), the
// install query (agent) and the loopback probe of the data port belong here,
// each storing FHost, FServer, FClient, FLocal and FData from what passed,
// and raising with the socket layer's message when the check fails. Until
// then stage 2 is accepted unchecked and no setting is changed.
void TFmMain::CheckConnectionStage()
{
}
