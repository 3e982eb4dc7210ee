#include "report_file.h"

#include <cctype>
#include <cstdio>

namespace msvc {

const char* const ReportFolderName = "Reports";
const char* const ReportFilePattern = "pc-*.txt";

namespace {

const char kPrefix[] = "pc-";
const char kExtension[] = ".txt";
const char kTempExtension[] = ".new";

bool KeptByName(unsigned char u)
{
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-';
}

bool IsHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

bool IsDigits(const std::string& text)
{
    if (text.empty()) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

bool SameTail(const std::string& text, std::size_t at, const char* tail)
{
    for (std::size_t i = 0; tail[i] != '\0'; ++i, ++at)
        if (at >= text.size() || std::tolower(static_cast<unsigned char>(text[at])) != tail[i]) return false;
    return at == text.size();
}

}  // namespace

std::string ReportTempPath(const std::string& reportPath, unsigned long thread, unsigned long long tick)
{
    return reportPath + "." + std::to_string(thread) + "-" + std::to_string(tick) + kTempExtension;
}

bool IsReportFile(const std::string& name)
{
    const std::size_t prefix = sizeof kPrefix - 1, extension = sizeof kExtension - 1;
    if (name.size() < prefix + extension) return false;
    if (!SameTail(name.substr(0, prefix), 0, kPrefix)) return false;
    if (!SameTail(name, name.size() - extension, kExtension)) return false;
    // The body as ReportFileName spells it: kept bytes, or "_" and two hex digits.
    const std::size_t end = name.size() - extension;
    for (std::size_t i = prefix; i < end; ++i) {
        if (KeptByName(static_cast<unsigned char>(name[i]))) continue;
        if (name[i] != '_' || i + 2 >= end || !IsHex(name[i + 1]) || !IsHex(name[i + 2])) return false;
        i += 2;
    }
    return true;
}

bool IsReportTempFile(const std::string& name)
{
    const std::size_t extension = sizeof kTempExtension - 1;
    if (name.size() < extension || !SameTail(name, name.size() - extension, kTempExtension)) return false;
    // "<report>.<thread>-<tick>.new"
    const std::string rest = name.substr(0, name.size() - extension);
    const auto dot = rest.find_last_of('.');
    if (dot == std::string::npos) return false;
    const std::string stamp = rest.substr(dot + 1);
    const auto dash = stamp.find('-');
    if (dash == std::string::npos || !IsDigits(stamp.substr(0, dash)) || !IsDigits(stamp.substr(dash + 1)))
        return false;
    return IsReportFile(rest.substr(0, dot));
}

std::string ReportFileName(const std::string& computer)
{
    std::string name = kPrefix;
    for (const char c : computer) {
        const auto u = static_cast<unsigned char>(c);
        if (KeptByName(u)) {
            name += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "_%02X", u);
            name += hex;
        }
    }
    return name + kExtension;
}

rtl::TStringList FormatReport(const TReportHead& head, const rtl::TStringList& inventory)
{
    rtl::TStringList lines{"Computer=" + head.Computer, "Received=" + head.Received, "From=" + head.From};
    for (const std::string& line : inventory) lines.Add(line);
    return lines;
}

bool ParseReportHead(const rtl::TStringList& lines, TReportHead& head)
{
    if (lines.Count() < 3 || lines.Names(0) != "Computer" || lines.Names(1) != "Received" || lines.Names(2) != "From")
        return false;
    head.Computer = lines.ValueFromIndex(0);
    head.Received = lines.ValueFromIndex(1);
    head.From = lines.ValueFromIndex(2);
    return true;
}

std::string TimeText(int year, int month, int day, int hour, int minute, int second)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    return text;
}

}  // namespace msvc
