#include "inventory.h"

#include <winsock2.h>
#include <iphlpapi.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <set>

#include "platform/rtl/handles.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/thread.h"

namespace inv {

namespace {

constexpr int kMaxPrograms = 5000;

// What the probes' worker and the waiting caller share; whoever ends last frees it.
struct TCollection {
    std::vector<TProbe> probes;
    rtl::TLock lock;
    std::vector<TSection> done;  // the sections of the probes that ended, in order
};

// One probe after the other on a single thread: Wine's loader, registry and
// network calls are not safe to enter from many fresh threads at once.
void RunCollection(TCollection& run)
{
    for (const TProbe& probe : run.probes) {
        TSection section{probe.Section, {}};
        try {
            probe.Run(section);
        } catch (const std::exception& e) {
            section.Lines.Clear();
            section.Add("Error", e.what());
        } catch (...) {
            section.Lines.Clear();
            section.Add("Error", "The probe failed.");
        }
        std::lock_guard<rtl::TLock> guard(run.lock);
        run.done.push_back(std::move(section));
    }
}

[[noreturn]] void RaiseCode(unsigned long code)
{
    throw rtl::Exception(rtl::ErrorLine(code).substr(6));
}

std::string RegString(HKEY key, const char* name)
{
    char buffer[2048];
    DWORD type = 0, size = sizeof buffer - 1;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::string();
    buffer[size] = '\0';
    return std::string(buffer);
}

DWORD RegDword(HKEY key, const char* name)
{
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return 0;
    return value;
}

rtl::RegKey OpenKey(const char* path, REGSAM view = 0)
{
    HKEY key = nullptr;
    const LONG rc = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | view, &key);
    if (rc != ERROR_SUCCESS) RaiseCode(static_cast<unsigned long>(rc));
    return rtl::RegKey(key);
}

void ProbeComputer(TSection& s)
{
    s.Add("Name", ComputerName());
}

void ProbeWindows(TSection& s)
{
    // GetVersionEx reports what the manifest allows; the kernel tells the truth.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");  // always loaded, never loaded by us
    const auto get = ntdll ? reinterpret_cast<RtlGetVersionFn>(
                                 reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                           : nullptr;
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (get == nullptr || get(&info) != 0) throw rtl::Exception("The Windows version is not available.");
    s.Add("Version", std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion));
    s.Add("Build", std::to_string(info.dwBuildNumber));
    try {
        const rtl::RegKey key = OpenKey("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
        s.Add("ProductName", WindowsProductName(RegString(key.get(), "ProductName"), info.dwBuildNumber));
        s.Add("ServicePack", RegString(key.get(), "CSDVersion"));
    } catch (const rtl::Exception& e) {
        s.Add("Error", e.Message());
    }
}

void ProbeProcessors(TSection& s)
{
    SYSTEM_INFO info{};
    GetNativeSystemInfo(&info);
    s.Add("Count", std::to_string(info.dwNumberOfProcessors));
    const char* arch = "unknown";
    switch (info.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_INTEL: arch = "x86"; break;
    case PROCESSOR_ARCHITECTURE_AMD64: arch = "x64"; break;
    case PROCESSOR_ARCHITECTURE_ARM: arch = "ARM"; break;
    case 12: arch = "ARM64"; break;  // PROCESSOR_ARCHITECTURE_ARM64
    }
    s.Add("Architecture", arch);
    const rtl::RegKey key = OpenKey("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0");
    s.Add("Name", RegString(key.get(), "ProcessorNameString"));
    const DWORD mhz = RegDword(key.get(), "~MHz");
    if (mhz != 0) s.Add("MHz", std::to_string(mhz));
}

void ProbeMemory(TSection& s)
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) RaiseCode(GetLastError());
    s.Add("TotalMB", MegaBytes(status.ullTotalPhys));
    s.Add("FreeMB", MegaBytes(status.ullAvailPhys));
}

const char* DriveTypeText(UINT type)
{
    switch (type) {
    case DRIVE_REMOVABLE: return "Removable";
    case DRIVE_FIXED: return "Fixed";
    case DRIVE_REMOTE: return "Network";
    case DRIVE_CDROM: return "CD-ROM";
    case DRIVE_RAMDISK: return "RAM disk";
    default: return "Unknown";
    }
}

void ProbeDrives(TSection& s)
{
    const DWORD mask = GetLogicalDrives();
    if (mask == 0) RaiseCode(GetLastError());
    // No "insert a disk" box for an empty drive.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    for (int i = 0; i < 26; ++i) {
        if ((mask & (1u << i)) == 0) continue;
        const std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
        const UINT type = GetDriveTypeA(root.c_str());
        std::string text = DriveTypeText(type);
        ULARGE_INTEGER avail{}, total{}, free{};
        // A network drive whose server is gone can hold the call for minutes;
        // the inventory is about this computer's own disks.
        if (type == DRIVE_REMOTE) {
            s.Add(root.substr(0, 2), text);
            continue;
        }
        if (GetDiskFreeSpaceExA(root.c_str(), &avail, &total, &free))
            text += ", size " + MegaBytes(total.QuadPart) + " MB, free " + MegaBytes(free.QuadPart) + " MB";
        else
            text += ", " + rtl::ErrorLine(GetLastError());
        s.Add(root.substr(0, 2), text);
    }
    SetErrorMode(oldMode);
}

void ProbeNetwork(TSection& s)
{
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer;
    DWORD rc = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 4 && rc == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.resize(size);
        rc = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()), &size);
    }
    if (rc == ERROR_NO_DATA) {
        s.Add("Count", "0");
        return;
    }
    if (rc != ERROR_SUCCESS) RaiseCode(rc);
    int n = 0;
    for (auto* a = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data()); a != nullptr; a = a->Next) {
        const std::string index = std::to_string(++n);
        s.Add("Adapter" + index, a->Description);
        std::string addresses;
        for (const IP_ADDR_STRING* ip = &a->IpAddressList; ip != nullptr; ip = ip->Next) {
            // An adapter without an address lists 0.0.0.0.
            if (ip->IpAddress.String[0] == '\0' || std::string(ip->IpAddress.String) == "0.0.0.0") continue;
            if (!addresses.empty()) addresses += ' ';
            addresses += ip->IpAddress.String;
        }
        s.Add("Address" + index, addresses);
        std::string mac;
        char hex[4];
        for (UINT i = 0; i < a->AddressLength && i < MAX_ADAPTER_ADDRESS_LENGTH; ++i) {
            std::snprintf(hex, sizeof hex, i ? "-%02X" : "%02X", a->Address[i]);
            mac += hex;
        }
        s.Add("MAC" + index, mac);
    }
    s.Lines.Insert(0, "Count=" + std::to_string(n));
}

void ProbePrograms(TSection& s)
{
    // Both registry views: a 32-bit program on 64-bit Windows sees only its own otherwise.
    std::set<std::pair<std::string, std::string>> seen;
    bool opened = false;
    std::string firstError;
    for (const REGSAM view : {static_cast<REGSAM>(KEY_WOW64_64KEY), static_cast<REGSAM>(KEY_WOW64_32KEY)}) {
        rtl::RegKey uninstall;
        try {
            uninstall = OpenKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", view);
        } catch (const rtl::Exception& e) {
            if (firstError.empty()) firstError = e.Message();
            continue;
        }
        opened = true;
        for (DWORD i = 0; seen.size() < kMaxPrograms; ++i) {
            char name[256];
            DWORD length = sizeof name;
            const LONG rc = RegEnumKeyExA(uninstall.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_NO_MORE_ITEMS) break;
            if (rc != ERROR_SUCCESS) continue;
            HKEY entry = nullptr;
            // The view flag does not carry over to keys opened below: without it the
            // sub-key would be looked up in the process's own view.
            if (RegOpenKeyExA(uninstall.get(), name, 0, KEY_READ | view, &entry) != ERROR_SUCCESS) continue;
            const rtl::RegKey owner(entry);
            const std::string display = CleanValue(RegString(entry, "DisplayName"));
            if (display.empty() || RegDword(entry, "SystemComponent") == 1) continue;
            seen.insert({display, CleanValue(RegString(entry, "DisplayVersion"))});
        }
    }
    if (!opened) throw rtl::Exception(firstError);
    s.Add("Count", std::to_string(seen.size()));
    int n = 0;
    for (const auto& [display, version] : seen) {
        const std::string index = std::to_string(++n);
        s.Add("Program" + index, display);
        s.Add("Version" + index, version);
    }
}

}  // namespace

std::string ComputerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 256] = {};
    DWORD size = sizeof name;
    if (!GetComputerNameExA(ComputerNamePhysicalNetBIOS, name, &size)) {
        size = sizeof name;
        if (!GetComputerNameA(name, &size)) RaiseCode(GetLastError());
    }
    return name;
}

std::vector<TSection> RunProbes(const std::vector<TProbe>& probes, unsigned timeoutMs)
{
    auto run = std::make_shared<TCollection>();
    run->probes = probes;
    std::string failure = "No answer within " + std::to_string(timeoutMs / 1000) + " seconds.";
    try {
        // A probe that hangs keeps the worker; the worker keeps the shared state.
        const rtl::KernelHandle worker = rtl::StartThread([run] { RunCollection(*run); });
        WaitForSingleObject(worker.get(), timeoutMs);
    } catch (const rtl::Exception& e) {
        failure = CleanValue(e.Message());
    }
    std::vector<TSection> sections;
    {
        std::lock_guard<rtl::TLock> guard(run->lock);
        sections = run->done;
    }
    for (std::size_t i = sections.size(); i < probes.size(); ++i) {
        TSection late{probes[i].Section, {}};
        late.Add("Error", failure);
        sections.push_back(std::move(late));
    }
    return sections;
}

std::vector<TProbe> ComputerProbes()
{
    return {
        {"Computer", ProbeComputer}, {"Windows", ProbeWindows}, {"Processors", ProbeProcessors},
        {"Memory", ProbeMemory},     {"Drives", ProbeDrives},   {"Network", ProbeNetwork},
        {"Programs", ProbePrograms},
    };
}

rtl::TStringList CollectInventory(unsigned probeTimeoutMs)
{
    return FormatInventory(RunProbes(ComputerProbes(), probeTimeoutMs));
}

}  // namespace inv
