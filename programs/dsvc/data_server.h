// The data service's listener: on 127.0.0.1 at its Data port it answers
// "Inventory 1.0" with this computer's inventory.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>

#include "platform/rtl/classes.h"
#include "platform/rtl/thread.h"
#include "programs/common/line_server.h"

class TDataServer {
public:
    static constexpr unsigned MaxAgeMs = 30000;  // an inventory this old is collected anew

    using TCollect = std::function<rtl::TStringList()>;

    // Listens on the loopback at port; raises the bind error when it is taken.
    TDataServer(int port, TCollect collect);
    TDataServer(const TDataServer&) = delete;
    TDataServer& operator=(const TDataServer&) = delete;

    int Port() const { return server_->Port(); }
    void Serve(HANDLE stop) { server_->Serve(stop); }

    // The latest inventory, collected again once it is older than MaxAgeMs.
    rtl::TStringList Inventory();

private:
    class TSession;

    TCollect collect_;
    rtl::TLock lock_;
    rtl::TStringList cached_;
    unsigned long long collectedAt_ = 0;
    bool collected_ = false;
    std::unique_ptr<svc::TLineServer> server_;
};
