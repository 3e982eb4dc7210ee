// The SQL the setup sends and scripts: the templates filled with the
// database settings, setup.sql, the rights check, and the check of the
// database edits. Pure text work, no windows.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace database {

// The product database and the product's own login (FDbName, FDbUser, FDbPass).
struct TDbSettings {
    std::string DbName;
    std::string DbUser;
    std::string DbPass;
};

// The four SQL texts, without their terminating NUL.
struct TSqlTemplates {
    std::string_view CreateDb;
    std::string_view CreateLogin;
    std::string_view UseDb;
    std::string_view CreateTable;
};

// Asks the server whether the connected login may create databases and
// logins; raises error 18 "Login must have sysadmin or, securityadmin and
// dbcreator role" when not. Six lines joined by CR LF, no line end at the end.
extern const std::string_view RightsCheckSql;

// Fills "%s" and "%n:s" with values. A placeholder must stand inside [...]
// (a "]" in the value is doubled) or inside '...' (a "'" is doubled), so that
// no value can end the name or the string it belongs to. A placeholder
// anywhere else, or without its value, raises rtl::EConvertError.
std::string FillTemplate(std::string_view text, const std::vector<std::string>& values);

// Statement 1 creates the database, 2 adds the login and the database user,
// 3 switches to the database and creates the tables in one batch.
struct TStatements {
    std::string CreateDb;
    std::string CreateLogin;
    std::string CreateObjects;
};
TStatements BuildStatements(const TDbSettings& settings, const TSqlTemplates& templates);

// The content of setup.sql: the three statements with a "GO" line between
// them (single-byte text, no NUL, nothing before or after).
std::string ComposeSetupSql(const TDbSettings& settings, const TSqlTemplates& templates);

// The four edits of the database stage, as typed.
struct TDbEdits {
    std::string Host;
    std::string Name;
    std::string User;
    std::string Pass;
};
// "" when the edits can be used, otherwise the message to show: an edit is
// empty, holds a control character (a line break would split setup.sql's
// statements at a "GO" line; a NUL would cut the text), or is longer than
// SQL Server takes a name or password to be.
std::string CheckDbEdits(const TDbEdits& edits);

}  // namespace database
