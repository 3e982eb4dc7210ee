#include "rci_file.h"

#include <windows.h>

#include <algorithm>

#include "platform/rtl/files.h"
#include "platform/rtl/handles.h"
#include "platform/rtl/sysutils.h"

namespace rci {

namespace {

constexpr DWORD kChunk = 64 * 1024;

rtl::FileHandle OpenForReading(const std::string& path)
{
    rtl::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw rtl::Exception("\"" + path + "\" cannot be opened: " + rtl::SysErrorMessage(GetLastError()) + ".");
    return file;
}

std::uint64_t FileSize(HANDLE file, const std::string& path)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) throw rtl::Exception("The size of \"" + path + "\" cannot be read.");
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool ReadAt(HANDLE file, std::uint64_t offset, void* buffer, std::size_t count)
{
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file, to, nullptr, FILE_BEGIN)) return false;
    auto* out = static_cast<char*>(buffer);
    while (count > 0) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count, kChunk));
        if (!ReadFile(file, out, want, &got, nullptr) || got == 0) return false;
        out += got;
        count -= got;
    }
    return true;
}

TLayout Layout(HANDLE file, const std::string& path)
{
    return ReadLayout(FileSize(file, path), [file](std::uint64_t offset, void* buffer, std::size_t count) {
        return ReadAt(file, offset, buffer, count);
    });
}

// A file written beside its target and put in place only when whole; gone
// again on every other way out.
class TTemporaryFile {
public:
    explicit TTemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TTemporaryFile()
    {
        file_.reset();
        if (!placed_) DeleteFileA(path_.c_str());
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    HANDLE Create()
    {
        file_ = rtl::CreateOutputFile(path_, GENERIC_WRITE);
        return file_.get();
    }
    // Closes the file and moves it over target.
    void PlaceAs(const std::string& target)
    {
        if (!FlushFileBuffers(file_.get())) RaiseNotPlaced(target, GetLastError());
        file_.reset();
        if (!MoveFileExA(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            RaiseNotPlaced(target, GetLastError());
        placed_ = true;
    }

private:
    [[noreturn]] static void RaiseNotPlaced(const std::string& path, DWORD code)
    {
        throw rtl::Exception(rtl::Format("Cannot put file \"%s\" in place. %s", {path, rtl::SysErrorMessage(code)}));
    }

    std::string path_;
    rtl::FileHandle file_;
    bool placed_ = false;
};

// Copies one program out of rci.dat to target, whole or not at all.
void WriteProgram(HANDLE source, const TEntry& entry, const std::string& target)
{
    TTemporaryFile temporary(target + ".part");
    const HANDLE out = temporary.Create();
    std::vector<char> buffer(kChunk);
    for (std::uint64_t done = 0; done < entry.Size;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(entry.Size - done, kChunk));
        if (!ReadAt(source, entry.DataOffset() + done, buffer.data(), n))
            throw rtl::Exception("rci.dat cannot be read at byte " + std::to_string(entry.DataOffset() + done) + ".");
        rtl::WriteWhole(out, buffer.data(), n, target);
        done += n;
    }
    temporary.PlaceAs(target);
}

std::string Join(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
    return folder + "\\" + name;
}

}  // namespace

TLayout ReadFileLayout(const std::string& path)
{
    const rtl::FileHandle file = OpenForReading(path);
    return Layout(file.get(), path);
}

std::vector<std::string> ExistingPrograms(const std::string& folder)
{
    std::vector<std::string> found;
    for (const char* name : ProgramNames) {
        if (GetFileAttributesA(Join(folder, name).c_str()) != INVALID_FILE_ATTRIBUTES) found.push_back(name);
    }
    return found;
}

std::vector<std::string> ExportPrograms(const std::string& path, const std::string& folder)
{
    const rtl::FileHandle file = OpenForReading(path);
    const TLayout layout = Layout(file.get(), path);
    if (!layout.Sound) throw rtl::Exception("rci.dat is damaged and is not used: " + layout.Problem + ".");

    if (!rtl::ForceDirectories(folder))
        throw rtl::Exception("The folder \"" + folder + "\" cannot be created: " + rtl::SysErrorMessage(GetLastError()) +
                             ".");
    std::vector<std::string> written;
    for (const TEntry& entry : layout.Entries) {
        const std::string target = Join(folder, entry.Name);
        try {
            WriteProgram(file.get(), entry, target);
        } catch (const rtl::Exception& e) {
            // What is already out stays whole; say so, rather than leave it unsaid.
            std::string done;
            for (const std::string& w : written) done += (done.empty() ? "" : ", ") + w.substr(w.find_last_of("\\/") + 1);
            throw rtl::Exception(e.Message() + (done.empty() ? " Nothing was written." : " Written before: " + done + "."));
        }
        written.push_back(target);
    }
    return written;
}

}  // namespace rci
