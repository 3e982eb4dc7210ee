// The errors of the network layer. Each carries the text the user is shown.
#pragma once

#include <string>

#include "platform/rtl/sysutils.h"

namespace net {

// A Winsock failure: "Socket Error # %d" CR LF and the system's text, or, for
// an address and port already taken, the bind text.
class ESocketError : public rtl::Exception {
public:
    ESocketError(int code, std::string message) : Exception(std::move(message)), code_(code) {}
    int ErrorCode() const noexcept { return code_; }
    const char* ClassName() const noexcept override { return "ESocketError"; }

private:
    int code_;
};

// The peer closed the connection before a whole line arrived.
class EConnClosedGracefully : public rtl::Exception {
public:
    EConnClosedGracefully();
    const char* ClassName() const noexcept override { return "EConnClosedGracefully"; }
};

// A received line longer than the limit.
class ELineTooLong : public rtl::Exception {
public:
    ELineTooLong();
    const char* ClassName() const noexcept override { return "ELineTooLong"; }
};

// A connect or a reply that did not come within the bounded wait.
class ETimedOut : public rtl::Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "ETimedOut"; }
};

// A port text that is an integer but no TCP port.
class EPortRange : public rtl::EConvertError {
public:
    explicit EPortRange(const std::string& text);
    const char* ClassName() const noexcept override { return "EPortRange"; }
};

}  // namespace net
