// A dbexpmss.dll planted beside the test programs, as someone might plant one
// beside setup.exe. It must never be loaded; if it is, every connect says so.
#include "platform/dbx/sqldriver.h"

namespace {

struct Nothing {
};
Nothing g_session;

qv_sql_session* QV_SQL_CALL Create() { return reinterpret_cast<qv_sql_session*>(&g_session); }
int QV_SQL_CALL Connect(qv_sql_session*, const wchar_t*) { return 0; }
int QV_SQL_CALL Execute(qv_sql_session*, const wchar_t*) { return 0; }
const wchar_t* QV_SQL_CALL LastError(const qv_sql_session*) { return L"planted library loaded"; }
void QV_SQL_CALL Disconnect(qv_sql_session*) {}
void QV_SQL_CALL Destroy(qv_sql_session*) {}

const qv_sql_driver Driver = {sizeof(qv_sql_driver), QV_SQL_DRIVER_VERSION, Create, Connect, Execute,
                              LastError,             Disconnect,            Destroy};

}  // namespace

extern "C" __declspec(dllexport) const qv_sql_driver* QV_SQL_CALL getSQLDriverMSSQL(void) { return &Driver; }
