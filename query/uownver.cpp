#include "uownver.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/rtl/module.h"
#include "platform/rtl/sysutils.h"

const char* const VersionInfoKeys[10] = {
    "CompanyName",      "FileDescription", "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTradeMarks", "OriginalFileName", "ProductName", "ProductVersion", "Comments",
};

namespace {

// version.dll comes from the system folder at first use rather than as an
// import: imports are found before the program runs, in its own folder first
// (setup.exe's is a download folder), and version.dll is no KnownDLL.
struct TVersionApi {
    decltype(&GetFileVersionInfoSizeA) infoSize;
    decltype(&GetFileVersionInfoA) info;
    decltype(&VerQueryValueA) queryValue;
};

const TVersionApi& VersionApi()
{
    static const TVersionApi api = [] {
        const HMODULE dll = rtl::SystemLibrary("version.dll");
        return TVersionApi{rtl::Proc<decltype(&GetFileVersionInfoSizeA)>(dll, "GetFileVersionInfoSizeA"),
                           rtl::Proc<decltype(&GetFileVersionInfoA)>(dll, "GetFileVersionInfoA"),
                           rtl::Proc<decltype(&VerQueryValueA)>(dll, "VerQueryValueA")};
    }();
    return api;
}

struct Translation {
    WORD language;
    WORD codePage;
};

// The first (0x0409, 0x04E4) pair; failing that the last U.S. English pair;
// failing that the first pair. False when the block has no translation table.
bool ChooseTranslation(const void* block, Translation& chosen)
{
    void* table = nullptr;
    UINT bytes = 0;
    if (!VersionApi().queryValue(block, "\\VarFileInfo\\Translation", &table, &bytes) || table == nullptr || bytes < 4)
        return false;
    const auto* pairs = static_cast<const Translation*>(table);
    chosen = pairs[0];
    for (UINT i = 0; (i + 1) * 4 <= bytes; ++i) {
        if (pairs[i].language != 0x0409) continue;
        chosen = pairs[i];
        if (pairs[i].codePage == 0x04E4) break;
    }
    return true;
}

}  // namespace

TVer::TVer(bool runAtOnce) : TQueryData("Ver", "cfg")
{
    if (runAtOnce) Query();
}

int TVer::Query(const char* module)
{
    if (State() != 0) return State();
    SetState(-1);
    const std::string path = module ? std::string(module) : rtl::ModulePath();

    DWORD ignored = 0;
    const DWORD size = VersionApi().infoSize(path.c_str(), &ignored);
    if (size == 0) {
        List().Add(rtl::ErrorLine(GetLastError()));
        return State();
    }
    List().Add("Module=" + path);

    std::vector<std::uint8_t> block(size);
    Translation t{};
    // A block without a translation table gives no strings: there is no
    // language to address them by.
    if (VersionApi().info(path.c_str(), 0, size, block.data()) && ChooseTranslation(block.data(), t)) {
        std::string prefix = "StringFileInfo\\";
        prefix += rtl::IntToHex(t.language, 4) + rtl::IntToHex(t.codePage, 4) + "\\";
        for (const char* name : VersionInfoKeys) {
            void* value = nullptr;
            UINT chars = 0;
            if (VersionApi().queryValue(block.data(), (prefix + name).c_str(), &value, &chars) && chars != 0 &&
                value != nullptr) {
                const auto* text = static_cast<const char*>(value);
                List().Add(std::string(name) + "=" + std::string(text, strnlen(text, chars)));
            }
        }
    }
    SetState(1);
    return State();
}
