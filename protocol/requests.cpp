#include "requests.h"

#include "install_reply.h"
#include "items.h"

namespace proto {

const char* const EndMarker = ".";
const char* const OkLine = "OK";

namespace {

const char* const kVersion = " 1.0";

// The argument after "<verb> 1.0 ", or whether the line is exactly "<verb> 1.0".
bool Matches(const std::string& line, const std::string& verb, bool withArgument, std::string& argument)
{
    const std::string head = verb + kVersion;
    if (!withArgument) return line == head;
    if (line.size() <= head.size() + 1 || line.compare(0, head.size(), head) != 0 || line[head.size()] != ' ')
        return false;
    argument = line.substr(head.size() + 1);
    return true;
}

}  // namespace

TRequest ParseRequest(const std::string& line)
{
    TRequest r;
    std::string argument;
    if (line == InstallRequest()) r.Kind = TRequestKind::Install;
    else if (Matches(line, "Inventory", false, argument)) r.Kind = TRequestKind::Inventory;
    else if (Matches(line, "Reporters", false, argument)) r.Kind = TRequestKind::Reporters;
    else if (Matches(line, "Report", true, argument)) {
        r.Kind = TRequestKind::Report;
        r.Argument = argument;
    }
    return r;
}

std::string InventoryRequest()
{
    return std::string("Inventory") + kVersion;
}

std::string ReportRequest(const std::string& computer)
{
    return std::string("Report") + kVersion + " " + computer;
}

std::string ReportersRequest()
{
    return std::string("Reporters") + kVersion;
}

bool ValidComputerName(const std::string& name)
{
    if (name.empty() || name.size() > MaxComputerName) return false;
    bool text = false;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < ' ' || u == 127) return false;
        if (u != ' ') text = true;
    }
    return text;
}

std::string ErrorReply(const std::string& text)
{
    std::string line = "ERROR ";
    for (const char c : text) line += static_cast<unsigned char>(c) < ' ' ? ' ' : c;
    if (line.size() > 1024) line.resize(1024);
    return line;
}

bool ParseErrorReply(const std::string& line, std::string& text)
{
    if (line == "ERROR") {
        text.clear();
        return true;
    }
    if (line.compare(0, 6, "ERROR ") != 0) return false;
    text = line.substr(6);
    return true;
}

std::vector<std::string> FrameBody(const rtl::TStringList& body)
{
    std::vector<std::string> lines;
    lines.reserve(body.Lines().size() + 1);
    for (const std::string& line : body) lines.push_back(!line.empty() && line[0] == '.' ? "." + line : line);
    lines.push_back(EndMarker);
    return lines;
}

TBodyReader::TResult TBodyReader::Add(const std::string& line)
{
    if (line == EndMarker) return TResult::Done;
    bytes_ += line.size() + 2;
    if (static_cast<std::size_t>(body_.Count()) >= MaxBodyLines || bytes_ > MaxBodyBytes) return TResult::TooBig;
    body_.Add(!line.empty() && line[0] == '.' ? line.substr(1) : line);
    return TResult::More;
}

std::string FormatReporter(const TReporter& reporter)
{
    return JoinItems(rtl::TStringList{reporter.Computer, reporter.Time});
}

bool ParseReporter(const std::string& line, TReporter& reporter)
{
    const rtl::TStringList items = SplitItems(line);
    if (items.Count() != 2) return false;
    reporter.Computer = items[0];
    reporter.Time = items[1];
    return true;
}

}  // namespace proto
