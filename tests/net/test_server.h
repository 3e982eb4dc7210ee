// A one-connection TCP server on 127.0.0.1 for the client tests, running on a
// thread of its own. Every wait in it is bounded.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "platform/net/line.h"
#include "platform/net/socket.h"

namespace nettest {

class TTestServer {
public:
    enum class TMode {
        Answer,      // reads the request line, sends the reply text, waits for the client to go
        AnswerAndClose, // the same, but closes right after sending
        CloseAtOnce, // closes as soon as the connection is accepted
        Silent,      // reads nothing, sends nothing, holds the connection until the test ends
    };

    TTestServer(TMode mode, std::string reply = std::string())
        : mode_(mode), reply_(std::move(reply)), session_(net::StartWinsock()),
          listener_(net::Listen("127.0.0.1", 0)), port_(net::LocalPort(listener_.get()))
    {
        thread_ = std::thread([this] { Serve(); });
    }
    ~TTestServer()
    {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    TTestServer(const TTestServer&) = delete;
    TTestServer& operator=(const TTestServer&) = delete;

    int Port() const { return port_; }
    std::string PortText() const { return std::to_string(port_); }
    // The bytes received before the reply was sent; waits (bounded) for the
    // server to see the client go.
    std::string Received()
    {
        if (thread_.joinable()) thread_.join();
        return received_;
    }

private:
    // Waits up to ms for s to become readable, in short slices so that the
    // destructor is never held up for long.
    bool Readable(SOCKET s, int ms) const
    {
        for (int waited = 0; waited < ms && !stop_; waited += 50) {
            fd_set set;
            FD_ZERO(&set);
            FD_SET(s, &set);
            timeval tv{0, 50000};
            if (select(0, &set, nullptr, nullptr, &tv) > 0) return true;
        }
        return false;
    }

    void Serve()
    {
        if (!Readable(listener_.get(), 20000)) return;
        net::Socket conn(accept(listener_.get(), nullptr, nullptr));
        if (!conn) return;
        switch (mode_) {
        case TMode::CloseAtOnce:
            return;
        case TMode::Silent:
            while (!stop_) Sleep(50);
            return;
        case TMode::Answer:
        case TMode::AnswerAndClose:
            break;
        }
        char buffer[4096];
        while (received_.find('\n') == std::string::npos && Readable(conn.get(), 20000)) {
            const int n = recv(conn.get(), buffer, sizeof buffer, 0);
            if (n <= 0) return;
            received_.append(buffer, static_cast<std::size_t>(n));
        }
        for (std::size_t sent = 0; sent < reply_.size();) {
            const int n = send(conn.get(), reply_.data() + sent, static_cast<int>(reply_.size() - sent), 0);
            if (n <= 0) return;
            sent += static_cast<std::size_t>(n);
        }
        if (mode_ == TMode::AnswerAndClose) return;
        // Until the client closes its end (or the test ends).
        while (Readable(conn.get(), 20000) && recv(conn.get(), buffer, sizeof buffer, 0) > 0) {
        }
    }

    TMode mode_;
    std::string reply_;
    std::string received_;
    std::atomic<bool> stop_{false};
    net::WinsockSession session_;
    net::Socket listener_;
    int port_;
    std::thread thread_;
};

}  // namespace nettest
