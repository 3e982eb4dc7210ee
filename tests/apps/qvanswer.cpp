// Stands in for a product server on 127.0.0.1: answers one kind of request
// with a fixed reply, so that the windows can be shown a server's answer
// without the service that normally gives it.
//
//   qvanswer PORT REQUEST REPLY-LINE...
//
// It prints "answering 127.0.0.1:PORT" once it listens (the UI driver's spawn
// step waits for that line), then serves one connection after another: a
// request line equal to REQUEST gets the reply lines, anything else
// "ERROR unknown request". A ' in a reply line is sent as a double quote
// (a command line passed on by the UI driver cannot carry one). It ends by
// itself after five minutes.
// Exit code: 0 ended in time, 1 the port could not be used, 2 bad arguments.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/net/line.h"
#include "platform/net/socket.h"

namespace {

constexpr ULONGLONG kLifeMs = 300000;
constexpr int kLineWaitMs = 10000;

bool Readable(SOCKET s, int ms)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &tv) > 0;
}

// The first line the client sends, or "" when none comes in time.
std::string RequestLine(SOCKET s)
{
    net::TLineReader reader;
    std::string line;
    char buffer[1024];
    while (Readable(s, kLineWaitMs)) {
        const int n = recv(s, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        reader.Feed(buffer, static_cast<std::size_t>(n));
        const auto r = reader.TakeLine(line);
        if (r == net::TLineReader::TResult::Line) return line;
        if (r == net::TLineReader::TResult::TooLong) break;
    }
    return std::string();
}

void Send(SOCKET s, const std::string& text)
{
    std::size_t sent = 0;
    while (sent < text.size()) {
        const int n = send(s, text.data() + sent, static_cast<int>(text.size() - sent), 0);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: qvanswer PORT REQUEST REPLY-LINE...\n");
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const std::string request = argv[2];
    std::string reply;
    for (int i = 3; i < argc; ++i) {
        std::string line = argv[i];
        for (char& c : line)
            if (c == '\'') c = '"';
        reply += line + "\r\n";
    }
    try {
        const net::WinsockSession session = net::StartWinsock();
        const net::Socket listener = net::Listen("127.0.0.1", port);
        std::printf("answering 127.0.0.1:%d\n", port);
        std::fflush(stdout);
        const ULONGLONG end = GetTickCount64() + kLifeMs;
        while (GetTickCount64() < end) {
            if (!Readable(listener.get(), 500)) continue;
            const net::Socket client(accept(listener.get(), nullptr, nullptr));
            if (!client) continue;
            Send(client.get(), RequestLine(client.get()) == request ? reply : "ERROR unknown request\r\n");
            shutdown(client.get(), SD_SEND);
        }
        return 0;
    } catch (const rtl::Exception& e) {
        std::fprintf(stderr, "qvanswer: 127.0.0.1:%d: %s\n", port, e.Message().c_str());
        return 1;
    }
}
