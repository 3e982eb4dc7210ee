// What the driver makes of the connection parameters: the ODBC driver to use
// and the connection string. No ODBC and no windows.h here.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace dbexpmss {

using Params = std::vector<std::pair<std::wstring, std::wstring>>;

// "name=value" items, each ending in a NUL, the list ending in an empty item.
Params ParseParams(const wchar_t* block);
// Value of the first item of that name (case-insensitive), or "".
std::wstring ParamValue(const Params& params, const std::wstring& name);

// How well an installed ODBC driver serves SQL Server: the newest
// "ODBC Driver NN for SQL Server" first, then the Native Clients, the classic
// "SQL Server" driver last; 0 for a driver that is not for SQL Server.
int DriverRank(const std::wstring& name);
// The NN of "ODBC Driver NN for SQL Server" (any case), else 0.
int OdbcDriverVersion(const std::wstring& name);
// The best of the installed drivers, or "" when none is for SQL Server.
std::wstring PickDriver(const std::vector<std::wstring>& installed);

// A value as the connection string carries it: in braces, with "}" doubled,
// when it holds a character that would end or change the attribute.
std::wstring ConnValue(const std::wstring& value);
// DRIVER, SERVER (HostName), DATABASE (DataBase), and either
// Trusted_Connection (OS Authentication=True) or UID and PWD; then Encrypt:
// the Encrypt parameter when one is given, else Optional for Driver 18 and
// later, which would otherwise insist on a certificate the server can prove.
std::wstring ConnectionString(const std::wstring& driver, const Params& params);

}  // namespace dbexpmss
