#include "inventory_text.h"

#include "platform/rtl/sysutils.h"

namespace inv {

namespace {

bool IsControl(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u < ' ' || u == 127;
}

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

void TSection::Add(const std::string& name, const std::string& value)
{
    Lines.Add(CleanName(name) + "=" + CleanValue(value));
}

std::string CleanValue(const std::string& value)
{
    std::string out = value;
    for (char& c : out)
        if (IsControl(c)) c = ' ';
    return Trim(out);
}

std::string CleanName(const std::string& name)
{
    std::string out = CleanValue(name);
    for (char& c : out)
        if (c == '=') c = '-';
    if (!out.empty() && out[0] == '[') out[0] = '(';
    return out;
}

rtl::TStringList FormatInventory(const std::vector<TSection>& sections)
{
    rtl::TStringList lines;
    for (const TSection& s : sections) {
        std::string header = "[";
        header += CleanValue(s.Name);
        header += ']';
        lines.Add(std::move(header));
        for (const std::string& line : s.Lines) lines.Add(line);
    }
    return lines;
}

std::vector<TSection> ParseInventory(const rtl::TStringList& lines)
{
    std::vector<TSection> sections;
    for (const std::string& line : lines) {
        if (line.empty()) continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            sections.push_back({line.substr(1, line.size() - 2), {}});
            continue;
        }
        if (sections.empty()) sections.push_back({});
        sections.back().Lines.Add(line);
    }
    return sections;
}

const TSection* FindSection(const std::vector<TSection>& sections, const std::string& name)
{
    for (const TSection& s : sections)
        if (rtl::SameText(s.Name, name)) return &s;
    return nullptr;
}

std::string WindowsProductName(const std::string& productName, unsigned long build)
{
    static const std::string ten = "Windows 10";
    if (build < 22000 || productName.compare(0, ten.size(), ten) != 0) return productName;
    if (productName.size() > ten.size() && productName[ten.size()] != ' ') return productName;
    return "Windows 11" + productName.substr(ten.size());
}

std::string MegaBytes(unsigned long long bytes)
{
    return std::to_string(bytes / (1024ull * 1024ull));
}

}  // namespace inv
