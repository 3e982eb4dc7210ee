// Thin wrappers over the service control manager. They raise nothing: a
// handle that cannot be opened is 0, a failed start returns its error code.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/rtl/handles.h"

class TSvcMan {
public:
    explicit TSvcMan(DWORD access) : access_(access) {}
    TSvcMan(const TSvcMan&) = delete;
    TSvcMan& operator=(const TSvcMan&) = delete;

    // Opens the local manager's active database on first use; 0 when that
    // failed (GetLastError tells why), and the next call tries again.
    SC_HANDLE Handle();
    void Close() { handle_.reset(); }
    DWORD Access() const { return access_; }

private:
    rtl::ScHandle handle_;
    DWORD access_;
};

class TSvc {
public:
    TSvc(std::string serviceName, DWORD access) : serviceName_(std::move(serviceName)), access_(access) {}
    TSvc(const TSvc&) = delete;
    TSvc& operator=(const TSvc&) = delete;

    TSvcMan& Manager();
    // Opens the service through the manager on first use; 0 when either failed.
    SC_HANDLE Handle();
    // 0 when the start request was accepted, otherwise the system's error code
    // (1056 already running; 6 when the service could not be opened).
    DWORD Start();

    const std::string& ServiceName() const { return serviceName_; }

private:
    std::string serviceName_;
    DWORD access_;
    // Declared in this order so that the service handle is closed before the manager.
    std::unique_ptr<TSvcMan> manager_;
    rtl::ScHandle handle_;
};
