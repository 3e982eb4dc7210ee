#include "install_server.h"

#include "platform/rtl/sysutils.h"
#include "protocol/requests.h"

class TInstallServer::TSession : public svc::TLineSession {
public:
    TSession(const TInstallServer& server, svc::TPeer peer) : server_(server), peer_(std::move(peer)) {}

    TAction OnLine(const std::string& line, std::string& reply) override
    {
        if (reporting_) return OnReportLine(line, reply);
        const proto::TRequest request = proto::ParseRequest(line);
        switch (request.Kind) {
        case proto::TRequestKind::Install:
            svc::AppendLine(reply, server_.Reply(peer_.LocalAddress));
            return TAction::Continue;
        case proto::TRequestKind::Report:
            if (!server_.store_) return Refuse(reply, "This server keeps no reports.");
            if (!proto::ValidComputerName(request.Argument)) return Refuse(reply, "The computer name is not usable.");
            computer_ = request.Argument;
            reporting_ = true;
            return TAction::Continue;
        case proto::TRequestKind::Reporters:
            return Answer(reply, ReportersLines());
        case proto::TRequestKind::Inventory:
            return Refuse(reply, "The server service does not answer this request.");
        case proto::TRequestKind::Unknown:
            break;
        }
        return TAction::Close;
    }

private:
    TAction OnReportLine(const std::string& line, std::string& reply)
    {
        switch (body_.Add(line)) {
        case proto::TBodyReader::TResult::More:
            return TAction::Continue;
        case proto::TBodyReader::TResult::TooBig:
            return Refuse(reply, "The report is larger than allowed.");
        case proto::TBodyReader::TResult::Done:
            break;
        }
        try {
            server_.store_->Save(computer_, peer_.RemoteAddress, body_.Body());
        } catch (const rtl::Exception& e) {
            return Refuse(reply, e.Message());
        }
        return Answer(reply, rtl::TStringList());
    }

    rtl::TStringList ReportersLines() const
    {
        rtl::TStringList lines;
        if (server_.store_)
            for (const proto::TReporter& r : server_.store_->List()) lines.Add(proto::FormatReporter(r));
        return lines;
    }

    static TAction Answer(std::string& reply, const rtl::TStringList& lines)
    {
        svc::AppendReply(reply, lines);
        return TAction::Close;
    }

    static TAction Refuse(std::string& reply, const std::string& text)
    {
        svc::AppendLine(reply, proto::ErrorReply(text));
        return TAction::Close;
    }

    const TInstallServer& server_;
    svc::TPeer peer_;
    bool reporting_ = false;
    std::string computer_;
    proto::TBodyReader body_;
};

TInstallServer::TInstallServer(proto::TInstallSettings settings, int port, std::vector<std::string> addresses,
                               std::string reportFolder)
    : settings_(std::move(settings))
{
    if (!reportFolder.empty()) store_ = std::make_unique<msvc::TReportStore>(std::move(reportFolder));
    svc::TLineServerOptions options;
    options.Addresses = std::move(addresses);
    options.Port = port;
    options.MaxClients = MaxConnections;
    options.IdleTimeoutMs = IdleTimeoutMs;
    server_ = std::make_unique<svc::TLineServer>(
        std::move(options), [this](const svc::TPeer& peer) { return std::make_unique<TSession>(*this, peer); });
}

std::string TInstallServer::Reply(const std::string& localAddress) const
{
    proto::TInstallSettings reported = settings_;
    // Installed for all addresses the record has no Host; the address the
    // agent reached us on is one it can reach again.
    if (reported.Host.empty()) reported.Host = localAddress;
    return proto::FormatInstallReply(reported);
}

std::vector<std::string> ServerAddresses(const std::string& host)
{
    if (host.empty()) return {""};
    std::vector<std::string> addresses{host};
    if (host != "127.0.0.1" && !rtl::SameText(host, "localhost")) addresses.push_back("127.0.0.1");
    return addresses;
}
