#include <gtest/gtest.h>

#include <type_traits>

#include "platform/dbx/privatefile.h"
#include "platform/dbx/sqlconnection.h"
#include "sqlhandles.h"

// A copyable owner would free or disconnect the same handle twice.
template <class T>
constexpr bool MoveOnly = !std::is_copy_constructible_v<T> && !std::is_copy_assignable_v<T>;

static_assert(MoveOnly<dbexpmss::SqlEnv> && MoveOnly<dbexpmss::SqlDbc> && MoveOnly<dbexpmss::SqlStmt> &&
              MoveOnly<dbexpmss::SqlLink>);
static_assert(std::is_nothrow_move_constructible_v<dbexpmss::SqlStmt>);
static_assert(MoveOnly<dbx::TPrivateFile> && MoveOnly<dbx::TSQLConnection>);

TEST(SqlHandles, NullHandleIsNotFreed)
{
    dbexpmss::SqlStmt stmt;
    EXPECT_FALSE(stmt);
    dbexpmss::SqlLink link;
    EXPECT_FALSE(link);
}
