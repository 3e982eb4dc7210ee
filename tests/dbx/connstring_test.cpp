#include <gtest/gtest.h>

#include "connstring.h"

using namespace dbexpmss;

namespace {

std::string N(const std::wstring& w) { return std::string(w.begin(), w.end()); }

}  // namespace

TEST(DriverChoice, NewestSqlServerDriverWins)
{
    EXPECT_EQ(PickDriver({L"SQL Server", L"ODBC Driver 17 for SQL Server", L"ODBC Driver 18 for SQL Server",
                          L"SQL Server Native Client 11.0"}),
              L"ODBC Driver 18 for SQL Server");
    EXPECT_EQ(PickDriver({L"SQL Server", L"SQL Server Native Client 10.0", L"SQL Server Native Client 11.0"}),
              L"SQL Server Native Client 11.0");
    EXPECT_EQ(PickDriver({L"Microsoft Access Driver (*.mdb)", L"SQL Server", L"FreeTDS"}), L"SQL Server");
    EXPECT_EQ(PickDriver({L"ODBC Driver 9 for SQL Server", L"ODBC Driver 13 for SQL Server"}),
              L"ODBC Driver 13 for SQL Server");  // by number, not by text
    EXPECT_EQ(PickDriver({L"FreeTDS", L"PostgreSQL Unicode", L"ODBC Driver 17 for Oracle"}), L"");
    EXPECT_EQ(PickDriver({}), L"");
    EXPECT_EQ(DriverRank(L"odbc driver 17 for sql server"), DriverRank(L"ODBC Driver 17 for SQL Server"));
}

TEST(ConnectionString, ValuesAreBracedWhereTheyWouldChangeTheString)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"ontzuq", L"ontzuq"},
        {L"", L""},
        {L"p;UID=sa", L"{p;UID=sa}"},
        {L"a}b", L"{a}}b}"},
        {L"{x}", L"{{x}}}"},
        {L" lead", L"{ lead}"},
        {L"trail ", L"{trail }"},
        {L"o'neil", L"o'neil"},
        {L"host\\SQLEXPRESS", L"host\\SQLEXPRESS"},
        {L"host,1433", L"{host,1433}"},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(ConnValue(value), expected) << N(value);
}

TEST(ConnectionString, IsBuiltFromTheConnectionParameters)
{
    const Params params = ParseParams(L"DriverName=MSSQL\0HostName=db1\0DataBase=master\0User_Name=sa\0"
                                      L"Password=pa;ss\0BlobSize=-1\0OS Authentication=False\0");
    EXPECT_EQ(ParamValue(params, L"user_name"), L"sa");
    EXPECT_EQ(ConnectionString(L"SQL Server", params),
              L"DRIVER={SQL Server};SERVER=db1;DATABASE=master;UID=sa;PWD={pa;ss};");

    const Params os = ParseParams(L"HostName=db1\0DataBase=master\0User_Name=sa\0Password=x\0OS Authentication=True\0");
    EXPECT_EQ(ConnectionString(L"ODBC Driver 18 for SQL Server", os),
              L"DRIVER={ODBC Driver 18 for SQL Server};SERVER=db1;DATABASE=master;Trusted_Connection=Yes;"
              L"Encrypt=Optional;");

    const Params noDb = ParseParams(L"HostName=db1\0User_Name=u\0Password=\0");
    EXPECT_EQ(ConnectionString(L"SQL Server", noDb), L"DRIVER={SQL Server};SERVER=db1;UID=u;PWD=;");
}

// Driver 18 and later encrypt and check the server's certificate by default,
// which a server with a self-signed certificate fails; the older drivers did not.
TEST(ConnectionString, NewerDriversEncryptOnlyWhereTheServerOffersIt)
{
    struct Case {
        const wchar_t* driver;
        const wchar_t* extra;  // another parameter, or ""
        const wchar_t* encrypt;  // what the string ends with after PWD=x;
    };
    const Case cases[] = {
        {L"SQL Server", L"", L""},
        {L"SQL Server Native Client 11.0", L"", L""},
        {L"ODBC Driver 13 for SQL Server", L"", L""},
        {L"ODBC Driver 17 for SQL Server", L"", L""},
        {L"ODBC Driver 18 for SQL Server", L"", L"Encrypt=Optional;"},
        {L"odbc driver 18 for sql server", L"", L"Encrypt=Optional;"},
        {L"ODBC Driver 19 for SQL Server", L"", L"Encrypt=Optional;"},
        {L"ODBC Driver 118 for SQL Server", L"", L"Encrypt=Optional;"},
        {L"ODBC Driver 18 for SQL Server Preview", L"", L""},  // not one we know
        // A caller's own choice stands, for every driver.
        {L"ODBC Driver 18 for SQL Server", L"Encrypt=Strict", L"Encrypt=Strict;"},
        {L"ODBC Driver 18 for SQL Server", L"encrypt=Mandatory", L"Encrypt=Mandatory;"},
        {L"ODBC Driver 17 for SQL Server", L"Encrypt=yes", L"Encrypt=yes;"},
        {L"ODBC Driver 18 for SQL Server", L"Encrypt=no;TrustServerCertificate=yes", L"Encrypt={no;TrustServerCertificate=yes};"},
    };
    for (const Case& c : cases) {
        std::wstring block = std::wstring(L"HostName=db1") + L'\0' + L"User_Name=sa" + L'\0' + L"Password=x" + L'\0';
        if (*c.extra) block += std::wstring(c.extra) + L'\0';
        const std::wstring expected = L"DRIVER={" + std::wstring(c.driver) + L"};SERVER=db1;UID=sa;PWD=x;" + c.encrypt;
        EXPECT_EQ(ConnectionString(c.driver, ParseParams(block.c_str())), expected) << N(c.driver) << " " << N(c.extra);
    }
    EXPECT_EQ(OdbcDriverVersion(L"ODBC Driver 17 for Oracle"), 0);
    EXPECT_EQ(OdbcDriverVersion(L"ODBC Driver 18 for SQL Server"), 18);
}
