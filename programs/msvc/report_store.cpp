#include "report_store.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/rtl/handles.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/module.h"

namespace msvc {

namespace {

constexpr DWORD kMaxHeadBytes = 4096;  // the head lines are within this

std::string NowText()
{
    SYSTEMTIME t{};
    GetSystemTime(&t);
    return TimeText(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

[[noreturn]] void RaiseFileError(const char* what, const std::string& path)
{
    const DWORD code = GetLastError();
    throw rtl::Exception(std::string(what) + " \"" + path + "\": " + rtl::SysErrorMessage(code));
}

void WriteAll(HANDLE file, const std::string& text, const std::string& path)
{
    std::size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1 << 20));
        if (!WriteFile(file, text.data() + done, chunk, &written, nullptr) || written == 0)
            RaiseFileError("Cannot write", path);
        done += written;
    }
}

// Another handle on the old report (our own List() on another thread, a virus
// scanner, a backup) makes Windows refuse the replace for a moment.
constexpr int kReplaceTries = 20;
constexpr DWORD kReplacePauseMs = 100;

bool MoveOver(const std::string& from, const std::string& to)
{
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        const DWORD code = GetLastError();
        if (attempt == kReplaceTries || (code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION))
            return false;
        Sleep(kReplacePauseMs);
    }
}

}  // namespace

void TReportStore::Save(const std::string& computer, const std::string& from, const rtl::TStringList& inventory)
{
    if (!CreateDirectoryA(folder_.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        RaiseFileError("Cannot create the folder", folder_);
    const std::string path = folder_ + "\\" + ReportFileName(computer);
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES && CountReports(maxComputers_) >= maxComputers_)
        throw rtl::Exception("The server already keeps the reports of " + std::to_string(maxComputers_) +
                             " computers and takes no new computer.");
    // A name of our own per write: two reports of one computer at once never share it.
    const std::string temp = ReportTempPath(path, GetCurrentThreadId(), GetTickCount64());
    const std::string text = FormatReport({computer, NowText(), from}, inventory).Text();
    {
        rtl::FileHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) RaiseFileError("Cannot create", temp);
        try {
            WriteAll(file.get(), text, temp);
            if (!FlushFileBuffers(file.get())) RaiseFileError("Cannot write", temp);
        } catch (...) {
            file.reset();
            DeleteFileA(temp.c_str());
            throw;
        }
    }
    if (!MoveOver(temp, path)) {
        const DWORD code = GetLastError();
        DeleteFileA(temp.c_str());
        SetLastError(code);
        RaiseFileError("Cannot replace", path);
    }
}

std::size_t TReportStore::CountReports(std::size_t limit) const
{
    std::size_t count = 0;
    WIN32_FIND_DATAA found{};
    const rtl::FindHandle find(FindFirstFileA((folder_ + "\\" + ReportFilePattern).c_str(), &found));
    if (!find) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (count < limit && FindNextFileA(find.get(), &found));
    return count;
}

std::vector<proto::TReporter> TReportStore::List() const
{
    std::vector<proto::TReporter> reporters;
    WIN32_FIND_DATAA found{};
    const rtl::FindHandle find(FindFirstFileA((folder_ + "\\" + ReportFilePattern).c_str(), &found));
    if (!find) return reporters;  // no folder yet, no reports
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string path = folder_ + "\\" + found.cFileName;
        const rtl::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) continue;
        std::string head(kMaxHeadBytes, '\0');
        DWORD read = 0;
        if (!ReadFile(file.get(), head.data(), kMaxHeadBytes, &read, nullptr)) continue;
        head.resize(read);
        rtl::TStringList lines;
        lines.SetText(head);
        TReportHead parsed;
        // A file that is no report of ours, or not the name its computer maps to, is not listed.
        if (!ParseReportHead(lines, parsed) || !rtl::SameText(ReportFileName(parsed.Computer), found.cFileName))
            continue;
        reporters.push_back({parsed.Computer, parsed.Received});
    } while (FindNextFileA(find.get(), &found));
    std::sort(reporters.begin(), reporters.end(),
              [](const proto::TReporter& a, const proto::TReporter& b) { return a.Computer < b.Computer; });
    return reporters;
}

std::string DefaultReportFolder()
{
    std::string folder = rtl::ModulePath();
    const auto slash = folder.find_last_of('\\');
    folder = slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
    return folder + "\\" + ReportFolderName;
}

}  // namespace msvc
