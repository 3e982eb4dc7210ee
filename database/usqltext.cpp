#include "usqltext.h"

#include "platform/rtl/sysutils.h"

namespace database {

const std::string_view RightsCheckSql =
    "declare @a int, @b1 int, @b2 int\r\n"
    "select @a=sysadmin, @b1=securityadmin, @b2=dbcreator\r\n"
    "from syslogins\r\n"
    "where name=system_user\r\n"
    "if not((@a=1)or((@b1=1)and(@b2=1)))\r\n"
    "raiserror('Login must have sysadmin or, securityadmin and dbcreator role',18,1)";

namespace {

std::string Doubled(const std::string& value, char quote)
{
    std::string out;
    out.reserve(value.size() + 2);
    for (const char c : value) {
        out += c;
        if (c == quote) out += quote;
    }
    return out;
}

[[noreturn]] void TemplateError(std::string_view text)
{
    throw rtl::EConvertError("Format '" + std::string(text) + "' invalid or incompatible with argument");
}

}  // namespace

std::string FillTemplate(std::string_view text, const std::vector<std::string>& values)
{
    std::string out;
    out.reserve(text.size() + 64);
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        std::size_t index = next;
        std::size_t digits = j;
        while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
        if (digits > j && digits < text.size() && text[digits] == ':') {
            index = std::stoul(std::string(text.substr(j, digits - j)));
            j = digits + 1;
        }
        if (j >= text.size() || (text[j] != 's' && text[j] != 'S') || index >= values.size()) TemplateError(text);
        // The quoting that surrounds the placeholder decides how the value is made safe.
        const char before = i > 0 ? text[i - 1] : '\0';
        const char after = j + 1 < text.size() ? text[j + 1] : '\0';
        if (before == '[' && after == ']') out += Doubled(values[index], ']');
        else if (before == '\'' && after == '\'') out += Doubled(values[index], '\'');
        else TemplateError(text);
        next = index + 1;
        i = j;
    }
    return out;
}

TStatements BuildStatements(const TDbSettings& s, const TSqlTemplates& t)
{
    return {FillTemplate(t.CreateDb, {s.DbName}), FillTemplate(t.CreateLogin, {s.DbName, s.DbUser, s.DbPass}),
            FillTemplate(t.UseDb, {s.DbName}) + "\r\n" + std::string(t.CreateTable)};
}

std::string ComposeSetupSql(const TDbSettings& settings, const TSqlTemplates& templates)
{
    const TStatements s = BuildStatements(settings, templates);
    return s.CreateDb + "\r\nGO\r\n" + s.CreateLogin + "\r\nGO\r\n" + s.CreateObjects;
}

std::string CheckDbEdits(const TDbEdits& edits)
{
    struct Edit {
        const char* label;
        const std::string& text;
        bool sqlName;  // goes into the SQL texts, where SQL Server allows 128 characters
    };
    const Edit list[] = {{"Database Server", edits.Host, false},
                         {"Database Name", edits.Name, true},
                         {"Username", edits.User, true},
                         {"Password", edits.Pass, true}};
    for (const auto& e : list) {
        if (e.text.empty()) return rtl::Format("%s must not be empty.", {std::string(e.label)});
        for (const char c : e.text) {
            const auto u = static_cast<unsigned char>(c);
            if (u < 0x20 || u == 0x7F)
                return rtl::Format("%s must not contain line breaks or other control characters.",
                                   {std::string(e.label)});
        }
        if (e.sqlName && e.text.size() > 128)
            return rtl::Format("%s must not be longer than 128 characters.", {std::string(e.label)});
    }
    return {};
}

}  // namespace database
