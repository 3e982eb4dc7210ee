#include "items.h"

namespace proto {

namespace {

// Blanks and every control character, NUL included; bytes above 127 are text.
bool IsSpace(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

rtl::TStringList SplitItems(const std::string& line)
{
    rtl::TStringList items;
    const std::size_t n = line.size();
    std::size_t i = 0;
    while (i < n && IsSpace(line[i])) ++i;
    while (i < n) {
        std::string item;
        if (line[i] == '"') {
            ++i;
            while (i < n) {
                if (line[i] == '"') {
                    if (i + 1 < n && line[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;  // closing quote
                    break;
                }
                item += line[i++];
            }
        } else {
            const std::size_t start = i;
            while (i < n && !IsSpace(line[i]) && line[i] != ',') ++i;
            item.assign(line, start, i - start);
        }
        items.Add(std::move(item));
        while (i < n && IsSpace(line[i])) ++i;
        if (i < n && line[i] == ',') {
            ++i;
            // A comma at the very end still separates an (empty) last item.
            if (i == n) items.Add(std::string());
            while (i < n && IsSpace(line[i])) ++i;
        }
    }
    return items;
}

std::string QuoteItem(const std::string& item)
{
    bool quote = item.empty();
    for (const char c : item)
        if (IsSpace(c) || c == ',' || c == '"') quote = true;
    if (!quote) return item;
    std::string out = "\"";
    for (const char c : item) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string JoinItems(const rtl::TStringList& items)
{
    std::string line;
    for (int i = 0; i < items.Count(); ++i) {
        if (i > 0) line += ',';
        line += QuoteItem(items[i]);
    }
    return line;
}

}  // namespace proto
