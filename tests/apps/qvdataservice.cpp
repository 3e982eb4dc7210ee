// Starts the data service SvcData (already registered by dsvc.exe /install)
// and waits until it answers the inventory request on 127.0.0.1, so that a
// scenario can open the Viewer against the real service.
//
//   qvdataservice PORT
//
// Exit code: 0 the service answered, 1 it did not within 60 s, 2 bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/rtl/handles.h"
#include "protocol/request_client.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qvdataservice PORT\n");
        return 2;
    }
    const int port = std::atoi(argv[1]);
    {
        const rtl::ScHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
        const rtl::ScHandle service(manager ? OpenServiceA(manager.get(), "SvcData", SERVICE_START) : nullptr);
        // Already running (Wine starts automatic services itself) is as good.
        if (!service || (!StartServiceA(service.get(), 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)) {
            std::fprintf(stderr, "qvdataservice: SvcData cannot be started: error %lu\n", GetLastError());
            return 1;
        }
    }
    std::string last;
    for (int attempt = 0; attempt < 120; ++attempt) {
        try {
            const rtl::TStringList inventory = proto::RequestInventory({"127.0.0.1", port});
            std::printf("SvcData answered with %d lines\n", inventory.Count());
            return 0;
        } catch (const std::exception& e) {
            last = e.what();
        }
        Sleep(500);
    }
    std::fprintf(stderr, "qvdataservice: SvcData did not answer on port %d: %s\n", port, last.c_str());
    return 1;
}
