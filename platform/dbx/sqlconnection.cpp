#include "sqlconnection.h"

#include <windows.h>

#include "platform/dbx/sqldriver.h"
#include "platform/rtl/handles.h"

namespace dbx {

struct TSQLConnection::Driver {
    rtl::Module library;
    const qv_sql_driver* api = nullptr;
    qv_sql_session* session = nullptr;
    bool connected = false;

    ~Driver()
    {
        if (session) api->destroy(session);  // before the library goes
    }

    std::string LastError() const
    {
        const wchar_t* text = api->last_error(session);
        if (!text || !*text) return "The database driver failed without giving a reason.";
        return rtl::Narrow(text);
    }
};

TSQLConnection::TSQLConnection()
    : params_{"DriverName=MSSQL",
              "HostName=",
              "DataBase=",
              "User_Name=",
              "Password=",
              "BlobSize=-1",
              "ErrorResourceFile=",
              "LocaleCode=0000",
              "MSSQL TransIsolation=ReadCommited",
              "OS Authentication=False"}
{
}

TSQLConnection::~TSQLConnection() { Close(); }

bool TSQLConnection::Connected() const { return driver_ && driver_->connected; }

void TSQLConnection::RaiseUnableToLoad() const
{
    throw EDatabaseError(rtl::Format("Unable to Load %s", {LibraryName}));
}

void TSQLConnection::Open()
{
    if (Connected()) return;
    Close();

    // Never by plain name: the loader would search the program's own folder
    // and the current one, where anybody may have put a file of that name.
    if (!IsFullPath(libraryPath_)) RaiseUnableToLoad();
    auto driver = std::make_unique<Driver>();
    // Its own imports (ODBC32.dll) from the system folder only, not from the
    // driver's folder, a temporary one others could put a file into; systems
    // without that search fall back to the driver's folder first.
    driver->library.reset(LoadLibraryExW(libraryPath_.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!driver->library && GetLastError() == ERROR_INVALID_PARAMETER)
        driver->library.reset(LoadLibraryExW(libraryPath_.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!driver->library) RaiseUnableToLoad();
    const auto get = reinterpret_cast<qv_get_sql_driver>(
        reinterpret_cast<void (*)()>(GetProcAddress(driver->library.get(), GetDriverFunc.c_str())));
    if (!get) RaiseUnableToLoad();
    driver->api = get();
    if (!driver->api || driver->api->version != QV_SQL_DRIVER_VERSION || driver->api->size < sizeof(qv_sql_driver))
        RaiseUnableToLoad();
    driver->session = driver->api->create();
    if (!driver->session) throw EDatabaseError("Out of memory");

    const std::wstring block = ParamsBlock(params_);
    if (!driver->api->connect(driver->session, block.c_str())) throw EDatabaseError(driver->LastError());
    driver->connected = true;
    driver_ = std::move(driver);
}

void TSQLConnection::Close()
{
    if (driver_ && driver_->connected) driver_->api->disconnect(driver_->session);
    driver_.reset();
}

void TSQLConnection::ExecuteDirect(const std::string& sql)
{
    if (!Connected()) throw EDatabaseError("The database connection is not open.");
    if (!driver_->api->execute(driver_->session, rtl::Widen(sql).c_str())) throw EDatabaseError(driver_->LastError());
}

std::wstring ParamsBlock(const rtl::TStringList& params)
{
    std::wstring block;
    for (const auto& line : params) {
        bool named = false;
        rtl::NameOfLine(line, &named);
        if (!named) continue;
        block += rtl::Widen(line);
        block += L'\0';
    }
    block += L'\0';
    return block;
}

bool IsFullPath(const std::wstring& path)
{
    if (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/'))
        return (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
    return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

}  // namespace dbx
