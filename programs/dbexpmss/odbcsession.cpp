#include "odbcsession.h"

#include <vector>

#include "connstring.h"

namespace dbexpmss {

namespace {

// Bounded waits: the login gives up after this, a statement after the other.
constexpr SQLULEN LoginTimeoutSeconds = 15;
constexpr SQLULEN QueryTimeoutSeconds = 300;

std::vector<std::wstring> InstalledDrivers(SQLHENV env)
{
    std::vector<std::wstring> names;
    SQLWCHAR description[512];
    SQLWCHAR attributes[2048];
    SQLSMALLINT descriptionLength = 0;
    SQLSMALLINT attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (int i = 0; i < 1000; ++i) {
        const SQLRETURN r = SQLDriversW(env, direction, description, 512, &descriptionLength, attributes, 2048,
                                        &attributesLength);
        if (!SQL_SUCCEEDED(r)) break;
        names.emplace_back(reinterpret_cast<const wchar_t*>(description));
        direction = SQL_FETCH_NEXT;
    }
    return names;
}

}  // namespace

std::wstring DiagText(SQLSMALLINT type, SQLHANDLE handle)
{
    std::wstring text;
    for (SQLSMALLINT i = 1; i <= 50; ++i) {
        SQLWCHAR state[6];
        SQLINTEGER native = 0;
        SQLWCHAR message[4096];
        SQLSMALLINT length = 0;
        const SQLRETURN r = SQLGetDiagRecW(type, handle, i, state, &native, message, 4096, &length);
        if (!SQL_SUCCEEDED(r)) break;
        if (!text.empty()) text += L"\r\n";
        text += reinterpret_cast<const wchar_t*>(message);
    }
    return text;
}

bool OdbcSession::Fail(std::wstring text)
{
    error_ = std::move(text);
    return false;
}

bool OdbcSession::FailFrom(SQLSMALLINT type, SQLHANDLE handle, const wchar_t* fallback)
{
    std::wstring text = DiagText(type, handle);
    return Fail(text.empty() ? std::wstring(fallback) : std::move(text));
}

bool OdbcSession::Connect(const wchar_t* params)
{
    Disconnect();
    error_.clear();
    if (!env_) {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, env_.put())))
            return Fail(L"The ODBC environment could not be created.");
        SQLSetEnvAttr(env_.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    }
    const std::wstring driver = PickDriver(InstalledDrivers(env_.get()));
    if (driver.empty()) return Fail(L"No ODBC driver for SQL Server is installed on this computer.");

    dbc_.reset();
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env_.get(), dbc_.put())))
        return FailFrom(SQL_HANDLE_ENV, env_.get(), L"The ODBC connection could not be created.");
    SQLSetConnectAttrW(dbc_.get(), SQL_ATTR_LOGIN_TIMEOUT, reinterpret_cast<SQLPOINTER>(LoginTimeoutSeconds), 0);

    std::wstring text = ConnectionString(driver, ParseParams(params));
    SQLSMALLINT outLength = 0;
    const SQLRETURN r = SQLDriverConnectW(dbc_.get(), nullptr, reinterpret_cast<SQLWCHAR*>(text.data()), SQL_NTS,
                                          nullptr, 0, &outLength, SQL_DRIVER_NOPROMPT);
    // The string holds the password: no copy of it stays behind.
    SecureZeroMemory(text.data(), text.size() * sizeof(wchar_t));
    if (!SQL_SUCCEEDED(r)) return FailFrom(SQL_HANDLE_DBC, dbc_.get(), L"The connection to the server failed.");
    link_.reset(dbc_.get());
    return true;
}

bool OdbcSession::Execute(const wchar_t* sql)
{
    error_.clear();
    if (!link_) return Fail(L"The database connection is not open.");
    SqlStmt stmt;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_.get(), stmt.put())))
        return FailFrom(SQL_HANDLE_DBC, dbc_.get(), L"The statement could not be prepared.");
    SQLSetStmtAttrW(stmt.get(), SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(QueryTimeoutSeconds), 0);

    // A batch answers with one result per statement; an error in a later
    // statement shows only when its result is reached, so all are read.
    std::wstring errors;
    int failures = 0;
    SQLRETURN r = SQLExecDirectW(stmt.get(), const_cast<SQLWCHAR*>(reinterpret_cast<const SQLWCHAR*>(sql)), SQL_NTS);
    for (int i = 0; i < 100000; ++i) {
        if (r == SQL_ERROR) {
            const std::wstring text = DiagText(SQL_HANDLE_STMT, stmt.get());
            if (!errors.empty() && !text.empty()) errors += L"\r\n";
            errors += text;
            if (++failures >= 10) break;  // a broken link fails every call alike
        } else if (r == SQL_INVALID_HANDLE || r == SQL_NEED_DATA || r == SQL_STILL_EXECUTING) {
            return Fail(L"The statement could not be run.");
        }
        r = SQLMoreResults(stmt.get());
        if (r == SQL_NO_DATA) break;
    }
    if (failures > 0) return Fail(errors.empty() ? L"The statement failed." : errors);
    return true;
}

void OdbcSession::Disconnect() noexcept
{
    link_.reset();
    dbc_.reset();
}

}  // namespace dbexpmss
