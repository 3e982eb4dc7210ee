// One connection to SQL Server over ODBC, wide-character entry points only
// (Wine's odbc32 has no SQLDriverConnectA).
#pragma once

#include <string>

#include "sqlhandles.h"

namespace dbexpmss {

class OdbcSession {
public:
    // Each returns false with LastError() set; only std::bad_alloc escapes.
    bool Connect(const wchar_t* params);
    bool Execute(const wchar_t* sql);
    void Disconnect() noexcept;
    const std::wstring& LastError() const noexcept { return error_; }

private:
    bool Fail(std::wstring text);
    bool FailFrom(SQLSMALLINT type, SQLHANDLE handle, const wchar_t* fallback);

    // Members go in reverse order: the link is ended, then the connection
    // handle freed, then the environment.
    SqlEnv env_;
    SqlDbc dbc_;
    SqlLink link_;
    std::wstring error_;
};

// The diagnostic records of a handle, one line each, joined by CR LF.
std::wstring DiagText(SQLSMALLINT type, SQLHANDLE handle);

}  // namespace dbexpmss
