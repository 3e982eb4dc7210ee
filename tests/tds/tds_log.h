// Reading what the SQL Server stand-in (tds_server.py) recorded, from a test
// program run inside with-tds-server.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tds {

struct Event {
    std::string kind;  // login, batch, close
    int session = 0;
    std::string user;
    std::string result;   // login: ok or fail
    std::string version;  // login: the TDS version acknowledged, in hex ("74000004")
    std::wstring text;   // batch: exactly the text that arrived
};

inline std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

inline std::string Port() { return Env("QV_TDS_PORT"); }
inline std::string ClosedPort() { return Env("QV_TDS_CLOSED_PORT"); }
// HostName for the connection: FreeTDS and the SQL Server drivers take "host,port".
inline std::string Host() { return "127.0.0.1," + Port(); }

inline std::wstring FromHex(const std::string& hex)
{
    std::wstring text;
    for (std::size_t i = 0; i + 4 <= hex.size(); i += 4) {
        const unsigned lo = std::stoul(hex.substr(i, 2), nullptr, 16);
        const unsigned hi = std::stoul(hex.substr(i + 2, 2), nullptr, 16);
        text += static_cast<wchar_t>(lo | (hi << 8));
    }
    return text;
}

// Every event so far; the log is a Linux path, reached through drive Z:.
inline std::vector<Event> ReadLog()
{
    std::string path = "Z:" + Env("QV_TDS_LOG");
    for (auto& c : path)
        if (c == '/') c = '\\';
    std::ifstream in(path);
    std::vector<Event> events;
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::stringstream ss(line);
        std::string field;
        while (std::getline(ss, field, '\t')) f.push_back(field);
        if (f.size() < 2) continue;
        Event e;
        e.kind = f[0];
        e.session = std::atoi(f[1].c_str());
        if (e.kind == "login" && f.size() >= 4) {
            e.user = f[2];
            e.result = f[3];
            if (f.size() >= 5) e.version = f[4];
        } else if (e.kind == "batch" && f.size() >= 4) {
            e.user = f[2];
            e.text = FromHex(f[3]);
        }
        events.push_back(e);
    }
    return events;
}

// The events after the first `from` ones.
inline std::vector<Event> Since(std::size_t from)
{
    auto all = ReadLog();
    return std::vector<Event>(all.begin() + static_cast<std::ptrdiff_t>(std::min(from, all.size())), all.end());
}

inline std::vector<Event> Batches(const std::vector<Event>& events)
{
    std::vector<Event> out;
    for (const auto& e : events)
        if (e.kind == "batch") out.push_back(e);
    return out;
}

// Waits, a bounded while, for the stand-in to see a session end (the client
// closes its socket; the server notices a moment later).
inline bool WaitClosed(int session)
{
    for (int i = 0; i < 100; ++i) {
        for (const auto& e : ReadLog())
            if (e.kind == "close" && e.session == session) return true;
        Sleep(50);
    }
    return false;
}

}  // namespace tds
