// Holds a TCP port the way another program on the machine would, so that a
// scenario can meet a port that is taken; or says whether a port is taken.
//
//   qvholdport ADDRESS PORT [SECONDS]            listen until ended (at most SECONDS, default 300)
//   qvholdport --expect-taken|--expect-free ADDRESS PORT
//
// Holding, it prints one line "holding ADDRESS:PORT" once it listens (the UI
// driver's spawn step waits for that line) and then never accepts: a client
// that connects is left waiting for a reply that does not come.
//
// Exit code: 0 held until the time ran out, or the expectation holds; 1 the
// port could not be held, or the expectation does not hold; 2 bad arguments
// (or an address that cannot be used at all).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/net/socket.h"

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: qvholdport ADDRESS PORT [SECONDS]\n"
                         "       qvholdport --expect-taken|--expect-free ADDRESS PORT\n");
    return 2;
}

bool Number(const char* text, int& value)
{
    char* end = nullptr;
    const long n = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || n < 0 || n > 100000) return false;
    value = static_cast<int>(n);
    return true;
}

// True when the port is free to listen on (and releases it at once).
bool Free(const std::string& address, int port)
{
    try {
        const net::WinsockSession session = net::StartWinsock();
        net::Listen(address, port);
        return true;
    } catch (const net::ESocketError& e) {
        std::printf("%s:%d: %s\n", address.c_str(), port, e.Message().c_str());
        return false;
    }
}

int Hold(const std::string& address, int port, int seconds)
{
    try {
        const net::WinsockSession session = net::StartWinsock();
        const net::Socket listener = net::Listen(address, port);
        std::printf("holding %s:%d\n", address.c_str(), net::LocalPort(listener.get()));
        std::fflush(stdout);
        // Bounded all the same: a holder that nobody ends goes by itself.
        Sleep(static_cast<DWORD>(seconds) * 1000);
        return 0;
    } catch (const rtl::Exception& e) {
        std::fprintf(stderr, "qvholdport: %s:%d: %s\n", address.c_str(), port, e.Message().c_str());
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    int port = 0;
    if (argc == 4 && argv[1][0] == '-') {
        const std::string mode = argv[1];
        if ((mode != "--expect-taken" && mode != "--expect-free") || !Number(argv[3], port)) return Usage();
        try {
            return Free(argv[2], port) == (mode == "--expect-free") ? 0 : 1;
        } catch (const rtl::Exception& e) {  // not a question of the port being taken
            std::fprintf(stderr, "qvholdport: %s:%d: %s\n", argv[2], port, e.Message().c_str());
            return 2;
        }
    }
    int seconds = 300;
    if (argc < 3 || argc > 4 || !Number(argv[2], port) || (argc == 4 && !Number(argv[3], seconds))) return Usage();
    return Hold(argv[1], port, seconds);
}
