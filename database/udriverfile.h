// The driver library the setup carries, written where only this process puts
// it: a folder with a unique name under the user's temp folder. The SQL
// connection loads it from there by full path, never by plain name (a
// dbexpmss.dll beside setup.exe or in the current folder is never looked at).
#pragma once

#include <string>

#include "platform/dbx/privatefile.h"
#include "platform/dbx/sqlconnection.h"

namespace database {

class TSqlDriverFile {
public:
    // Writes the payload TFDbx; raises EOSError when it cannot.
    TSqlDriverFile();
    // Full path of the written dbexpmss.dll.
    const std::wstring& Path() const { return file_.Path(); }
    // Points the connection at this copy. The connection must be closed (or
    // gone) before this object goes, so that the file can be deleted.
    void Attach(dbx::TSQLConnection& sqlc) const { sqlc.SetLibraryPath(file_.Path()); }

private:
    dbx::TPrivateFile file_;
};

}  // namespace database
