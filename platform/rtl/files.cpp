#include "files.h"

namespace rtl {

FileHandle CreateOutputFile(const std::string& path, DWORD access)
{
    FileHandle file(CreateFileA(path.c_str(), access, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        throw EFCreateError(Format("Cannot create file \"%s\". %s", {path, SysErrorMessage(error)}));
    }
    return file;
}

void WriteWhole(HANDLE file, const void* data, std::size_t size, const std::string& path)
{
    DWORD written = 0;
    DWORD error = 0;
    if (size > MAXDWORD)
        error = ERROR_INVALID_PARAMETER;
    else if (!WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr))
        error = GetLastError();
    else if (written != size)
        error = ERROR_DISK_FULL;
    if (error != 0) throw EWriteError(Format("Cannot write file \"%s\". %s", {path, SysErrorMessage(error)}));
}

namespace {

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool ForceDirectories(const std::string& folder)
{
    std::string path = folder;
    while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    // A drive ("C:") or nothing left: there is nothing to create.
    if (path.empty() || (path.size() == 2 && path[1] == ':')) return true;
    if (IsFolder(path)) return true;
    const std::size_t slash = path.find_last_of("\\/");
    // A UNC share ("\\server\share") cannot be created, only used.
    if (slash != std::string::npos && slash > 1 && !(path.rfind("\\\\", 0) == 0 && path.find('\\', 2) == slash)) {
        if (!ForceDirectories(path.substr(0, slash))) return false;
    }
    if (CreateDirectoryA(path.c_str(), nullptr)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS && IsFolder(path)) return true;
    SetLastError(error);
    return false;
}

}  // namespace rtl
