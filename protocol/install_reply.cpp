#include "install_reply.h"

namespace proto {

const char* const InstallQueryGuid = "{6B1E92C7-D0F2-4A6E-93B1-7E0D2C68FA15}";

TInstallSettings SettingsFromLines(const rtl::TStringList& lines)
{
    TInstallSettings s;
    s.Host = lines.Values("Host");
    s.Server = lines.Values("Server");
    s.Data = lines.Values("Data");
    s.Client = lines.Values("Client");
    s.Local = lines.Values("Local");
    return s;
}

TInstallSettings ParseInstallReply(const std::string& line)
{
    return SettingsFromLines(SplitItems(line));
}

std::string FormatInstallReply(const TInstallSettings& s)
{
    rtl::TStringList items;
    items.Add("Host=" + s.Host);
    items.Add("Server=" + s.Server);
    items.Add("Data=" + s.Data);
    items.Add("Client=" + s.Client);
    items.Add("Local=" + s.Local);
    return JoinItems(items);
}

std::string InstallRequest()
{
    return std::string("Install 1.0 ") + InstallQueryGuid;
}

}  // namespace proto
