// Owners of the ODBC handles, one alias per handle type.
#pragma once

#include <windows.h>
#include <sql.h>
#include <sqlext.h>

#include "platform/rtl/handle.h"

namespace dbexpmss {

template <SQLSMALLINT Type>
struct SqlHandlePolicy {
    using handle_type = SQLHANDLE;
    static SQLHANDLE invalid() noexcept { return SQL_NULL_HANDLE; }
    static void close(SQLHANDLE h) noexcept { SQLFreeHandle(Type, h); }
};

using SqlEnv = rtl::UniqueHandle<SqlHandlePolicy<SQL_HANDLE_ENV>>;
using SqlDbc = rtl::UniqueHandle<SqlHandlePolicy<SQL_HANDLE_DBC>>;
using SqlStmt = rtl::UniqueHandle<SqlHandlePolicy<SQL_HANDLE_STMT>>;

// A connection handle in the connected state: disconnects before it goes.
struct SqlLinkPolicy {
    using handle_type = SQLHDBC;
    static SQLHDBC invalid() noexcept { return SQL_NULL_HDBC; }
    static void close(SQLHDBC h) noexcept { SQLDisconnect(h); }
};
using SqlLink = rtl::UniqueHandle<SqlLinkPolicy>;

}  // namespace dbexpmss
