// Checks what the SQL Server stand-in recorded (run inside with-tds-server),
// one line per event:
//   login SESSION USER ok|fail
//   batch SESSION USER FIRST-LINE-OF-THE-TEXT
//   close SESSION
// Sessions are listed one after the other, each in its own order: the
// stand-in serves them side by side, so their events interleave by chance.
//
//   qvtdslog [LINE...]      no LINE: nothing recorded at all
//
// A session's end is noticed a moment after the client lets go, so the log is
// read again for a bounded while until it matches. Exit code 0 when it does;
// 1 with both listings when not.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tds_log.h"

namespace {

std::string FirstLine(const std::wstring& text)
{
    std::string line;
    for (const wchar_t c : text) {
        if (c == L'\r' || c == L'\n') break;
        line += (c < 0x80) ? static_cast<char>(c) : '?';
    }
    return line;
}

std::vector<std::string> Render(std::vector<tds::Event> events)
{
    std::stable_sort(events.begin(), events.end(),
                     [](const tds::Event& a, const tds::Event& b) { return a.session < b.session; });
    std::vector<std::string> lines;
    for (const auto& e : events) {
        std::string line = e.kind + " " + std::to_string(e.session);
        if (e.kind == "login") line += " " + e.user + " " + e.result;
        else if (e.kind == "batch") line += " " + e.user + " " + FirstLine(e.text);
        lines.push_back(line);
    }
    return lines;
}

void Print(const char* title, const std::vector<std::string>& lines)
{
    std::printf("qvtdslog: %s\n", title);
    if (lines.empty()) std::printf("    (nothing)\n");
    for (const auto& line : lines) std::printf("    \"%s\"\n", line.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    if (tds::Env("QV_TDS_LOG").empty()) {
        std::printf("qvtdslog: QV_TDS_LOG is not set (run inside with-tds-server)\n");
        return 2;
    }
    const std::vector<std::string> expected(argv + 1, argv + argc);
    std::vector<std::string> found;
    for (int i = 0; i < 100; ++i) {
        found = Render(tds::ReadLog());
        if (found == expected) return 0;
        Sleep(50);
    }
    Print("expected", expected);
    Print("found", found);
    std::fflush(stdout);
    return 1;
}
