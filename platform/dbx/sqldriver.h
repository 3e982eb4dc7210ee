/* The interface between the SQL connection and its driver library
 * (dbexpmss.dll). The library exports one function, getSQLDriverMSSQL, which
 * returns the driver's table of functions. Texts are UTF-16, NUL-terminated;
 * nothing here throws. */
#pragma once

#include <stdint.h>
#include <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QV_SQL_DRIVER_VERSION 1u
#define QV_SQL_CALL __cdecl

typedef struct qv_sql_session qv_sql_session;

typedef struct qv_sql_driver {
    uint32_t size;    /* sizeof(qv_sql_driver) as the library was built */
    uint32_t version; /* QV_SQL_DRIVER_VERSION */

    /* A new, unconnected session; NULL when memory is short. */
    qv_sql_session*(QV_SQL_CALL* create)(void);
    /* Connects with the connection parameters: "name=value" items, each ending
     * in a NUL, the list ending in an empty item. 1 on success, 0 on failure
     * (last_error tells why). Names as the connection holds them: HostName,
     * DataBase, User_Name, Password, "OS Authentication". */
    int(QV_SQL_CALL* connect)(qv_sql_session* session, const wchar_t* params);
    /* Runs one text as one batch, without a result set. 1 or 0 as above. */
    int(QV_SQL_CALL* execute)(qv_sql_session* session, const wchar_t* sql);
    /* The text of the last failure: the server's or the driver's own messages.
     * Valid until the next call on the session. */
    const wchar_t*(QV_SQL_CALL* last_error)(const qv_sql_session* session);
    /* Ends the connection; harmless when not connected. */
    void(QV_SQL_CALL* disconnect)(qv_sql_session* session);
    /* Disconnects and frees the session. */
    void(QV_SQL_CALL* destroy)(qv_sql_session* session);
} qv_sql_driver;

typedef const qv_sql_driver*(QV_SQL_CALL* qv_get_sql_driver)(void);

#ifdef __cplusplus
}
#endif
