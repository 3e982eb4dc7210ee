// dbexpmss.dll: the SQL Server driver of the setup's SQL connection, over ODBC.
// Nothing thrown inside leaves an exported function.
#include <exception>
#include <new>
#include <string>

#include "odbcsession.h"
#include "platform/dbx/sqldriver.h"

struct qv_sql_session {
    dbexpmss::OdbcSession odbc;
    std::wstring error;
};

namespace {

int Outcome(qv_sql_session* s, bool ok)
{
    s->error = ok ? std::wstring() : s->odbc.LastError();
    return ok ? 1 : 0;
}

int Failure(qv_sql_session* s, const std::exception& e)
{
    try {
        s->error = L"The database driver failed: ";
        for (const char* p = e.what(); *p; ++p) s->error += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    } catch (const std::bad_alloc&) {
        s->error.clear();  // last_error then gives the empty text
    }
    return 0;
}

qv_sql_session* QV_SQL_CALL Create()
{
    return new (std::nothrow) qv_sql_session;
}

int QV_SQL_CALL Connect(qv_sql_session* s, const wchar_t* params)
{
    if (!s) return 0;
    try {
        return Outcome(s, s->odbc.Connect(params));
    } catch (const std::exception& e) {
        return Failure(s, e);
    }
}

int QV_SQL_CALL Execute(qv_sql_session* s, const wchar_t* sql)
{
    if (!s) return 0;
    try {
        return Outcome(s, s->odbc.Execute(sql ? sql : L""));
    } catch (const std::exception& e) {
        return Failure(s, e);
    }
}

const wchar_t* QV_SQL_CALL LastError(const qv_sql_session* s)
{
    return s ? s->error.c_str() : L"";
}

void QV_SQL_CALL Disconnect(qv_sql_session* s)
{
    if (s) s->odbc.Disconnect();
}

void QV_SQL_CALL Destroy(qv_sql_session* s)
{
    delete s;  // the session's owners disconnect and free its handles
}

const qv_sql_driver Driver = {sizeof(qv_sql_driver), QV_SQL_DRIVER_VERSION, Create, Connect, Execute,
                              LastError,             Disconnect,            Destroy};

}  // namespace

extern "C" __declspec(dllexport) const qv_sql_driver* QV_SQL_CALL getSQLDriverMSSQL(void)
{
    return &Driver;
}
