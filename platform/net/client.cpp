#include "client.h"

#include <windows.h>

#include <cstdint>

namespace net {

namespace {

unsigned long long DeadlineAfter(unsigned ms)
{
    return GetTickCount64() + ms;
}

}  // namespace

void TTcpClient::RaiseTimeout(const char* format, unsigned ms) const
{
    throw ETimedOut(rtl::Format(format, {host_, static_cast<std::int64_t>(port_),
                                         static_cast<std::int64_t>((ms + 999) / 1000)}));
}

bool TTcpClient::Wait(bool forWrite, unsigned long long deadline) const
{
    for (;;) {
        const unsigned long long now = GetTickCount64();
        if (now >= deadline) return false;
        const unsigned long long left = deadline - now;
        timeval tv{};
        tv.tv_sec = static_cast<long>(left / 1000);
        tv.tv_usec = static_cast<long>((left % 1000) * 1000);
        fd_set ready;
        fd_set failed;
        FD_ZERO(&ready);
        FD_ZERO(&failed);
        FD_SET(socket_.get(), &ready);
        FD_SET(socket_.get(), &failed);
        // The exception set reports a failed connect; while reading it would
        // only report urgent data, which this protocol does not use.
        const int n = select(0, forWrite ? nullptr : &ready, forWrite ? &ready : nullptr, forWrite ? &failed : nullptr,
                             &tv);
        if (n == SOCKET_ERROR) RaiseLastSocketError();
        if (n > 0) {
            // A failed connect shows in the exception set; its reason in SO_ERROR.
            if (forWrite && FD_ISSET(socket_.get(), &failed)) {
                int error = 0;
                int len = sizeof error;
                getsockopt(socket_.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &len);
                RaiseSocketError(error != 0 ? error : WSAECONNRESET);
            }
            return true;
        }
    }
}

void TTcpClient::Connect()
{
    Disconnect();
    if (!session_) session_ = StartWinsock();
    const sockaddr_in addr = ResolveIPv4(host_, port_, false);
    Socket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!s) RaiseLastSocketError();
    SetNonBlocking(s.get(), true);
    socket_ = std::move(s);
    try {
        if (connect(socket_.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == SOCKET_ERROR) {
            const int error = WSAGetLastError();
            if (error != WSAEWOULDBLOCK) RaiseSocketError(error);
            if (!Wait(true, DeadlineAfter(connectTimeoutMs_)))
                RaiseTimeout("Could not connect to %s port %d within %d seconds.", connectTimeoutMs_);
            int result = 0;
            int len = sizeof result;
            if (getsockopt(socket_.get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&result), &len) ==
                SOCKET_ERROR)
                RaiseLastSocketError();
            if (result != 0) RaiseSocketError(result);
        }
    } catch (...) {
        socket_.reset();  // not connected: nothing is left open
        throw;
    }
}

void TTcpClient::WriteLn(const std::string& text)
{
    if (!socket_) RaiseSocketError(WSAENOTCONN);
    const std::string line = text + "\r\n";
    const unsigned long long deadline = DeadlineAfter(readTimeoutMs_);
    std::size_t sent = 0;
    while (sent < line.size()) {
        const int n = send(socket_.get(), line.data() + sent, static_cast<int>(line.size() - sent), 0);
        if (n == SOCKET_ERROR) {
            const int error = WSAGetLastError();
            if (error != WSAEWOULDBLOCK) RaiseSocketError(error);
            if (!Wait(true, deadline)) RaiseTimeout("Could not send to %s port %d within %d seconds.", readTimeoutMs_);
            continue;
        }
        sent += static_cast<std::size_t>(n);
    }
}

std::string TTcpClient::ReadLn()
{
    if (!socket_) RaiseSocketError(WSAENOTCONN);
    const unsigned long long deadline = DeadlineAfter(readTimeoutMs_);
    char buffer[4096];
    std::string line;
    for (;;) {
        switch (reader_.TakeLine(line)) {
        case TLineReader::TResult::Line:
            return line;
        case TLineReader::TResult::TooLong:
            throw ELineTooLong();
        case TLineReader::TResult::NeedMore:
            break;
        }
        const int n = recv(socket_.get(), buffer, sizeof buffer, 0);
        if (n > 0) {
            reader_.Feed(buffer, static_cast<std::size_t>(n));
            continue;
        }
        if (n == 0) throw EConnClosedGracefully();
        const int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK) RaiseSocketError(error);
        if (!Wait(false, deadline)) RaiseTimeout("No reply from %s port %d within %d seconds.", readTimeoutMs_);
    }
}

void TTcpClient::Disconnect()
{
    socket_.reset();
    reader_ = TLineReader();
}

}  // namespace net
