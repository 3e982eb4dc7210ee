// The SQL connection: designed properties, parameters by name, and one driver
// library loaded by full path that does the talking to the server.
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/classes.h"
#include "platform/rtl/sysutils.h"

namespace dbx {

// An error of the database or of reaching it: the server's or the driver's
// text, or "Unable to Load <library>".
class EDatabaseError : public rtl::Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EDatabaseError"; }
};

class TSQLConnection {
public:
    TSQLConnection();
    ~TSQLConnection();
    TSQLConnection(const TSQLConnection&) = delete;
    TSQLConnection& operator=(const TSQLConnection&) = delete;

    // As designed; LibraryName names the library in messages, GetDriverFunc is
    // the entry looked up in it.
    std::string ConnectionName = "MSSQLConnection";
    std::string DriverName = "MSSQL";
    std::string GetDriverFunc = "getSQLDriverMSSQL";
    std::string LibraryName = "dbexpmss.dll";
    std::string VendorLib = "oledb";
    bool LoginPrompt = false;  // connecting never prompts

    // name=value lines; the designed ones are there from the start.
    rtl::TStringList& Params() { return params_; }
    const rtl::TStringList& Params() const { return params_; }

    // Where the driver library is loaded from. Only a full path is ever
    // loaded: with none, or a relative one, Open fails with "Unable to Load".
    void SetLibraryPath(std::wstring fullPath) { libraryPath_ = std::move(fullPath); }
    const std::wstring& LibraryPath() const { return libraryPath_; }

    bool Connected() const;
    // Connects with the parameters as they stand; nothing happens when
    // already connected. Raises EDatabaseError.
    void Open();
    // Disconnects and unloads the driver library; harmless when closed.
    void Close();
    // Runs one text as one batch without a result set. Raises EDatabaseError,
    // also when the connection is not open.
    void ExecuteDirect(const std::string& sql);

private:
    struct Driver;
    [[noreturn]] void RaiseUnableToLoad() const;

    rtl::TStringList params_;
    std::wstring libraryPath_;
    std::unique_ptr<Driver> driver_;
};

// The parameters as the driver takes them: "name=value" items, each ending in
// a NUL, then one more NUL. Lines without a name are left out.
std::wstring ParamsBlock(const rtl::TStringList& params);

// A path the loader takes as it stands: "X:\..." or "\\server\...".
bool IsFullPath(const std::wstring& path);

}  // namespace dbx
