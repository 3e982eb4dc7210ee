#include "report_file.h"

#include <cstdio>

namespace msvc {

std::string ReportFileName(const std::string& computer)
{
    std::string name = "pc-";
    for (const char c : computer) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-') {
            name += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "_%02X", u);
            name += hex;
        }
    }
    return name + ".txt";
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
