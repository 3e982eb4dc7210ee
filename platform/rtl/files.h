// Files the programs write: created with the one "Cannot create file" error,
// written in one call that never passes a short write off as success, and
// folders created with their missing parents.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "handles.h"
#include "sysutils.h"

namespace rtl {

// "Cannot create file "<path>". <system text>".
class EFCreateError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EFCreateError"; }
};

// "Cannot write file "<path>". <system text>": a failed or short write.
class EWriteError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EWriteError"; }
};

// Creates path, or truncates the file that is there, with the given access,
// no sharing and normal attributes; raises EFCreateError.
FileHandle CreateOutputFile(const std::string& path, DWORD access);

// Writes size bytes in one call. A write that fails, or writes fewer bytes
// (a full disk), raises EWriteError naming path.
void WriteWhole(HANDLE file, const void* data, std::size_t size, const std::string& path);

// Creates folder with every missing parent; an existing folder is fine. On
// failure returns false with the system's last error telling why.
bool ForceDirectories(const std::string& folder);

}  // namespace rtl
