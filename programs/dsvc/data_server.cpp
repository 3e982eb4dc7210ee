#include "data_server.h"

#include "protocol/requests.h"

class TDataServer::TSession : public svc::TLineSession {
public:
    explicit TSession(TDataServer& server) : server_(server) {}

    TAction OnLine(const std::string& line, std::string& reply) override
    {
        switch (proto::ParseRequest(line).Kind) {
        case proto::TRequestKind::Inventory:
            svc::AppendReply(reply, server_.Inventory());
            break;
        case proto::TRequestKind::Unknown:
            svc::AppendLine(reply, proto::ErrorReply("Unknown request."));
            break;
        default:
            svc::AppendLine(reply, proto::ErrorReply("The data service does not answer this request."));
            break;
        }
        return TAction::Close;
    }

private:
    TDataServer& server_;
};

TDataServer::TDataServer(int port, TCollect collect) : collect_(std::move(collect))
{
    svc::TLineServerOptions options;
    options.Addresses = {"127.0.0.1"};  // this computer's own programs only
    options.Port = port;
    server_ = std::make_unique<svc::TLineServer>(std::move(options),
                                                 [this](const svc::TPeer&) { return std::make_unique<TSession>(*this); });
}

rtl::TStringList TDataServer::Inventory()
{
    std::lock_guard<rtl::TLock> guard(lock_);
    const unsigned long long now = GetTickCount64();
    if (!collected_ || now - collectedAt_ > MaxAgeMs) {
        cached_ = collect_();
        collectedAt_ = GetTickCount64();
        collected_ = true;
    }
    return cached_;
}
