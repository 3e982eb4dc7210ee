// A TCP client for one request line and one reply line, with bounded waits.
#pragma once

#include <string>

#include "line.h"
#include "socket.h"

namespace net {

class TTcpClient {
public:
    static constexpr unsigned DefaultConnectTimeoutMs = 10000;
    static constexpr unsigned DefaultReadTimeoutMs = 10000;

    TTcpClient(std::string host, int port) : host_(std::move(host)), port_(port) {}
    TTcpClient(const TTcpClient&) = delete;
    TTcpClient& operator=(const TTcpClient&) = delete;

    void SetConnectTimeout(unsigned ms) { connectTimeoutMs_ = ms; }
    // The whole wait for one reply line, and for one line to be sent.
    void SetReadTimeout(unsigned ms) { readTimeoutMs_ = ms; }

    void Connect();
    bool Connected() const { return static_cast<bool>(socket_); }
    // Sends text followed by CR LF.
    void WriteLn(const std::string& text);
    // One line: LF ends it, a CR before the LF is dropped. Raises
    // EConnClosedGracefully when the peer closes first, ELineTooLong beyond
    // MaxLineLength characters, ETimedOut when the reply does not come.
    std::string ReadLn();
    void Disconnect();

private:
    // Waits until the socket is readable (or writable); false on timeout.
    bool Wait(bool forWrite, unsigned long long deadline) const;
    [[noreturn]] void RaiseTimeout(const char* format, unsigned ms) const;

    std::string host_;
    int port_;
    unsigned connectTimeoutMs_ = DefaultConnectTimeoutMs;
    unsigned readTimeoutMs_ = DefaultReadTimeoutMs;
    TLineReader reader_;  // keeps what arrived after the last line
    // Session first, so that it outlives the socket.
    WinsockSession session_;
    Socket socket_;
};

}  // namespace net
