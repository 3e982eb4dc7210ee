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

}  // namespace

std::string FillTemplate(std::string_view text, const std::vector<std::string>& values)
{
    return rtl::FormatWith(text, values.size(), [&](const rtl::TPlaceholder& p) {
        if (p.Kind != 's') rtl::RaiseFormatError(text);
        // The quoting that surrounds the placeholder decides how the value is made safe.
        const char before = p.Begin > 0 ? text[p.Begin - 1] : '\0';
        const char after = p.End < text.size() ? text[p.End] : '\0';
        if (before == '[' && after == ']') return Doubled(values[p.Index], ']');
        if (before == '\'' && after == '\'') return Doubled(values[p.Index], '\'');
        rtl::RaiseFormatError(text);
    });
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
