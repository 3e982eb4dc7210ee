#include "privatefile.h"

#include <windows.h>

#include <charconv>
#include <cstdint>

#include "platform/rtl/handles.h"
#include "platform/rtl/sysutils.h"

namespace dbx {

namespace {

// The folder name's parts, without the C library's printf (see rtl's Format).
std::wstring Hex8(std::uint32_t value)
{
    char buf[8];
    const auto end = std::to_chars(buf, buf + sizeof buf, value, 16).ptr;
    return std::wstring(8 - (end - buf), L'0') + std::wstring(buf, end);
}

std::wstring Decimal(unsigned value)
{
    char buf[10];
    const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;
    return std::wstring(buf, end);
}

std::wstring TempFolder()
{
    wchar_t buf[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    if (n == 0 || n > MAX_PATH) rtl::RaiseLastOSError();
    return std::wstring(buf, n);  // ends in a backslash
}

}  // namespace

TPrivateFile::TPrivateFile(const std::wstring& fileName, const void* data, std::size_t size)
{
    const std::wstring temp = TempFolder();
    // A name nobody else holds: CreateDirectory fails on an existing folder,
    // so a folder planted in advance is never used.
    for (unsigned attempt = 0; folder_.empty(); ++attempt) {
        const std::wstring folder = temp + L"qvsetup-" + Hex8(GetCurrentProcessId()) + L"-" +
                                    Hex8(static_cast<std::uint32_t>(GetTickCount64() & 0xFFFFFFFFu)) + L"-" +
                                    Decimal(attempt);
        if (CreateDirectoryW(folder.c_str(), nullptr)) {
            folder_ = folder;
            break;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS || attempt >= 100) rtl::RaiseLastOSError(error);
    }
    path_ = folder_ + L"\\" + fileName;

    DWORD error = 0;
    {
        rtl::FileHandle file(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            error = GetLastError();
        } else {
            DWORD written = 0;
            if (!WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr)) error = GetLastError();
            else if (written != size) error = ERROR_DISK_FULL;
        }
    }
    // Held open for reading only until it is removed: no other process can
    // change, rename or replace the file meanwhile, and loading it still works.
    if (error == 0) {
        guard_.reset(CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!guard_) error = GetLastError();
    }
    if (error != 0) {
        Remove();
        rtl::RaiseLastOSError(error);
    }
}

TPrivateFile::TPrivateFile(TPrivateFile&& other) noexcept
    : folder_(std::move(other.folder_)), path_(std::move(other.path_)), guard_(std::move(other.guard_))
{
    other.folder_.clear();
    other.path_.clear();
}

TPrivateFile::~TPrivateFile() { Remove(); }

void TPrivateFile::Remove() noexcept
{
    if (folder_.empty()) return;
    guard_.reset();
    // A library still loaded cannot be deleted; then both go at the next restart.
    if (!path_.empty() && !DeleteFileW(path_.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        MoveFileExW(path_.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (!RemoveDirectoryW(folder_.c_str())) MoveFileExW(folder_.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    folder_.clear();
    path_.clear();
}

}  // namespace dbx
