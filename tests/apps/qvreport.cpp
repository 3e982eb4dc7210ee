// Sends one report to a server on 127.0.0.1, as an agent does, so that a
// scenario can have a computer report to the real server service.
//
//   qvreport PORT COMPUTER
//
// Exit code: 0 the server took the report, 1 it did not, 2 bad arguments.
#include <cstdio>
#include <cstdlib>

#include "protocol/request_client.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: qvreport PORT COMPUTER\n");
        return 2;
    }
    try {
        const rtl::TStringList inventory{"[Computer]", std::string("Name=") + argv[2]};
        proto::SendReport({"127.0.0.1", std::atoi(argv[1])}, argv[2], inventory);
        std::printf("reported %s\n", argv[2]);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qvreport: %s\n", e.what());
        return 1;
    }
}
