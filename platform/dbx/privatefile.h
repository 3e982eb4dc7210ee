// A file written into a folder of its own, made with a unique name under the
// user's temp folder, and removed together with that folder.
#pragma once

#include <cstddef>
#include <string>

#include "platform/rtl/handles.h"

namespace dbx {

class TPrivateFile {
public:
    // Creates the folder and writes the file; raises EOSError on failure
    // (nothing is left behind then).
    TPrivateFile(const std::wstring& fileName, const void* data, std::size_t size);
    ~TPrivateFile();
    TPrivateFile(TPrivateFile&& other) noexcept;
    TPrivateFile& operator=(TPrivateFile&&) = delete;
    TPrivateFile(const TPrivateFile&) = delete;
    TPrivateFile& operator=(const TPrivateFile&) = delete;

    // Full path of the file.
    const std::wstring& Path() const { return path_; }
    const std::wstring& Folder() const { return folder_; }

private:
    void Remove() noexcept;

    std::wstring folder_;
    std::wstring path_;
    rtl::FileHandle guard_;  // read-only, shared for reading only
};

}  // namespace dbx
