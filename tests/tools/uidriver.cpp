// The UI driver: starts a program (or attaches to one) and walks through its
// windows by a scenario text, the way a person would, reporting the first step
// that does not go as written.
//
//   uidriver [--program PATH] [--shots DIR] [--set NAME=VALUE]... [--env NAME]...
//            [--cases FILE --case NAME] SCENARIO
//
// Exit code: 0 all steps passed, 1 a step failed, 2 bad command line or scenario.
//
// A scenario is one step per line; words are separated by blanks, "quoted
// text" keeps its blanks, # starts a comment. ${NAME} is replaced before a
// line is split: by --set, by --env (the environment variable of that name,
// which must be set), by the chosen case of a cases file ("case NAME",
// then "set NAME VALUE" lines), by "set NAME VALUE" lines of the scenario, or
// by PROGRAM, DRIVER_DIR, LOCAL_ADDRESS, HOST_NAME, PROGRAM_FILES, COMMON_PROGRAMS
// (the all-users Start menu programs) and COMMON_DESKTOP. A line ending in "{"
// takes the lines up to "}" as further words. Controls are named by their
// QvName within the current window. "include FILE" takes the steps of FILE (in
// the scenario's folder) in its place, e.g. a prelude shared by many scenarios;
// its "set" lines hold on after it.
//
//   start [PROGRAM ARGS...]      start PROGRAM (default: --program), also after the last one ended
//   attach CAPTION [SECONDS]     take over the program showing that window, also after the last one ended
//   detach                       let the current program run on unwatched while another is started;
//                                attach takes it up again (it ends with the scenario at the latest)
//   run [--exit CODE] PROGRAM ARGS...   run a helper (beside the driver) or a program to its
//                                end; exit code 0, or CODE
//   spawn PROGRAM ARGS...        start a helper (beside the driver) that keeps running; waits for
//                                the first line it prints, its sign of being ready
//   stop PROGRAM                 end the helpers spawned from PROGRAM (the rest end with the scenario)
//   window CAPTION [SECONDS]     wait for the program's window; it becomes current; screenshot
//   check LIST ITEM yes|no       tick or untick a check-list item (a click on it)
//   click-item LIST ITEM         click an item, header rows included
//   type EDIT TEXT               set an edit's text
//   press BUTTON                 press a button (it must be visible and enabled)
//   click CONTROL                a left click in the middle of a control
//   key Enter|Esc|Space|Tab      a key to the focused control of the current window
//   close                        the current window's close box
//   expect-text CONTROL TEXT     a control's text
//   expect-lines LIST LINE...    a list's lines; check lists as "[x] ", "[ ] " or "[-] " (header row) + text
//   expect-enabled CONTROL yes|no   usable by a person: itself and every parent enabled
//   expect-steps CONTROL LINE... every text the control shows, in order, until the current
//                                window closes or a message box appears; a text already
//                                there at the start counts only when it is the first LINE
//                                (the others are what the window showed before); screenshot
//                                half-way
//   expect-focus CONTROL         the control has the keyboard focus
//   message TEXT [BUTTON]        a message box with that text; screenshot; answer (default OK)
//   exit CODE [SECONDS]          the program ends with CODE and shows no other window meanwhile
//   expect-reg KEY NAME TEXT     a value below HKLM ("" names the default value); binary
//                                values compare as their text up to the first zero byte
//   expect-no-key KEY            no such key below HKLM
//   expect-file PATH yes|no      a file is there or not
//   shot LABEL                   screenshot of the current window
//   timeout SECONDS              how long expect steps wait for their condition (default 20)
//
// Every wait is bounded; expect steps poll until their condition holds. A
// failed step names its line, what it expected and what it found, and leaves
// a screenshot of the screen.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <shlobj.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/rtl/handles.h"
#include "platform/rtl/module.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/control_name.h"
#include "scenario.h"
#include "shot.h"
#include "winops.h"

namespace uidrv {
namespace {

// A step that did not go as written: what it expected and what it found.
struct StepFailed {
    std::string expected;
    std::string found;
};

// Bad use of a command inside the scenario (wrong arguments).
struct BadStep {
    std::string what;
};

std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/') return path;
    std::string out = "Z:" + path;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

std::string Quote(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string CommandLine(const std::vector<std::string>& args)
{
    std::string line;
    for (const auto& a : args) {
        if (!line.empty()) line += ' ';
        line += '"';
        line += a;
        line += '"';
    }
    return line;
}

std::string ReadFileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw BadStep{"cannot read " + path};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Seconds(ULONGLONG ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", static_cast<double>(ms) / 1000.0);
    return text;
}

bool YesNo(const std::string& word)
{
    if (word == "yes") return true;
    if (word == "no") return false;
    throw BadStep{"expected yes or no, found " + Quote(word)};
}

int Number(const std::string& word)
{
    char* end = nullptr;
    const long value = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0') throw BadStep{"expected a number, found " + Quote(word)};
    return static_cast<int>(value);
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    if (lines.empty()) return "(no lines)";
    std::string out;
    for (const auto& line : lines) out += "\n    " + Quote(line);
    return out;
}

std::string LocalAddress()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return std::string();
    std::string address;
    char host[256] = {};
    if (gethostname(host, sizeof host) == 0) {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        addrinfo* found = nullptr;
        if (getaddrinfo(host, nullptr, &hints, &found) == 0 && found != nullptr) {
            char text[INET_ADDRSTRLEN] = {};
            const auto* in = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
            if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text) != nullptr) address = text;
            freeaddrinfo(found);
        }
    }
    WSACleanup();
    return address;
}

std::string HostName()
{
    char host[256] = {};
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return std::string();
    gethostname(host, sizeof host);
    WSACleanup();
    return host;
}

class Driver {
public:
    Driver(std::string program, std::string shots) : program_(std::move(program)), shots_(std::move(shots)) {}
    ~Driver()
    {
        EndTarget();
        for (rtl::KernelHandle& process : detached_) EndProcess(process);
        for (Helper& helper : helpers_) EndHelper(helper);
    }

    int Run(const std::vector<Step>& steps)
    {
        for (const Step& step : steps) {
            const ULONGLONG started = GetTickCount64();
            try {
                Execute(step);
            } catch (const StepFailed& failed) {
                std::printf("uidriver: FAILED at line %d: %s\n  expected: %s\n  found:    %s\n", step.line,
                            step.text.c_str(), failed.expected.c_str(), failed.found.c_str());
                ShootFailure();
                std::fflush(stdout);
                return 1;
            } catch (const BadStep& bad) {
                std::printf("uidriver: line %d: %s: %s\n", step.line, step.text.c_str(), bad.what.c_str());
                std::fflush(stdout);
                return 2;
            }
            std::printf("uidriver: %3d ok %8s  %s\n", step.line, Seconds(GetTickCount64() - started).c_str(),
                        step.text.c_str());
            std::fflush(stdout);
        }
        if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT)
            std::printf("uidriver: the scenario ended with the program still running; it is ended now\n");
        return 0;
    }

private:
    using Words = std::vector<std::string>;

    // A helper started by spawn: the name it was spawned by, and its output.
    struct Helper {
        std::string name;
        rtl::KernelHandle process;
        rtl::KernelHandle output;
    };

    // Windows come and go at the pace of program start-up under Wine, which
    // varies far more than a control's reaction, so they get their own default.
    static constexpr DWORD kWindowWaitMs = 60000;

    void Execute(const Step& step)
    {
        const Words& w = step.words;
        const std::string& command = w[0];
        auto need = [&](std::size_t least, std::size_t most, const char* usage) {
            if (w.size() < least + 1 || w.size() > most + 1) throw BadStep{std::string("usage: ") + usage};
        };
        if (command == "start") {
            Start(Words(w.begin() + 1, w.end()));
        } else if (command == "attach") {
            need(1, 2, "attach CAPTION [SECONDS]");
            Attach(w[1], w.size() > 2 ? WaitLimit(w, 2) : kWindowWaitMs);
        } else if (command == "detach") {
            need(0, 0, "detach");
            Detach();
        } else if (command == "run") {
            need(1, 99, "run [--exit CODE] PROGRAM [ARGUMENTS...]");
            DWORD expected = 0;
            auto first = w.begin() + 1;
            if (*first == "--exit") {
                need(3, 99, "run --exit CODE PROGRAM [ARGUMENTS...]");
                expected = static_cast<DWORD>(Number(w[2]));
                first += 2;
            }
            RunHelper(Words(first, w.end()), expected);
        } else if (command == "spawn") {
            need(1, 99, "spawn PROGRAM [ARGUMENTS...]");
            Spawn(Words(w.begin() + 1, w.end()));
        } else if (command == "stop") {
            need(1, 1, "stop PROGRAM");
            StopHelpers(w[1]);
        } else if (command == "timeout") {
            need(1, 1, "timeout SECONDS");
            timeoutMs_ = static_cast<DWORD>(Number(w[1])) * 1000;
        } else if (command == "window") {
            need(1, 2, "window CAPTION [SECONDS]");
            WaitWindow(w[1], w.size() > 2 ? WaitLimit(w, 2) : kWindowWaitMs);
        } else if (command == "check") {
            need(3, 3, "check LIST ITEM yes|no");
            Check(w[1], w[2], YesNo(w[3]));
        } else if (command == "click-item") {
            need(2, 2, "click-item LIST ITEM");
            ClickItem(w[1], w[2]);
        } else if (command == "type") {
            need(2, 2, "type EDIT TEXT");
            Type(w[1], w[2]);
        } else if (command == "press") {
            need(1, 1, "press BUTTON");
            Press(w[1]);
        } else if (command == "click") {
            need(1, 1, "click CONTROL");
            HWND control = Usable(w[1]);
            PostClick(control);
        } else if (command == "key") {
            need(1, 1, "key Enter|Esc|Space|Tab");
            Key(w[1]);
        } else if (command == "close") {
            need(0, 0, "close");
            PostClose(Current());
        } else if (command == "expect-text") {
            need(2, 2, "expect-text CONTROL TEXT");
            ExpectText(w[1], w[2]);
        } else if (command == "expect-lines") {
            need(1, 999, "expect-lines LIST LINE... (or a { block } of lines)");
            ExpectLines(w[1], Words(w.begin() + 2, w.end()));
        } else if (command == "expect-steps") {
            need(2, 999, "expect-steps CONTROL LINE... (or a { block } of lines)");
            ExpectSteps(w[1], Words(w.begin() + 2, w.end()));
        } else if (command == "expect-enabled") {
            need(2, 2, "expect-enabled CONTROL yes|no");
            ExpectEnabled(w[1], YesNo(w[2]));
        } else if (command == "expect-focus") {
            need(1, 1, "expect-focus CONTROL");
            ExpectFocus(w[1]);
        } else if (command == "message") {
            need(1, 2, "message TEXT [BUTTON]");
            Message(w[1], w.size() > 2 ? w[2] : "OK");
        } else if (command == "exit") {
            need(1, 2, "exit CODE [SECONDS]");
            ExpectExit(static_cast<DWORD>(Number(w[1])), w.size() > 2 ? WaitLimit(w, 2) : kWindowWaitMs);
        } else if (command == "expect-reg") {
            need(3, 3, "expect-reg KEY NAME TEXT");
            ExpectRegistry(w[1], w[2], w[3]);
        } else if (command == "expect-no-key") {
            need(1, 1, "expect-no-key KEY");
            ExpectNoKey(w[1]);
        } else if (command == "expect-file") {
            need(2, 2, "expect-file PATH yes|no");
            ExpectFile(w[1], YesNo(w[2]));
        } else if (command == "shot") {
            need(1, 1, "shot LABEL");
            Settle(Current());
            Shoot(Current(), w[1]);
        } else {
            throw BadStep{"unknown command " + Quote(command)};
        }
    }

    DWORD WaitLimit(const Words& w, std::size_t index) const
    {
        return w.size() > index ? static_cast<DWORD>(Number(w[index])) * 1000 : timeoutMs_;
    }

    // Polls check until it returns true or the wait is over; every wait ends.
    template <class Check>
    bool WaitFor(DWORD limitMs, Check check)
    {
        const ULONGLONG deadline = GetTickCount64() + limitMs;
        for (;;) {
            if (check()) return true;
            if (GetTickCount64() >= deadline) return false;
            Sleep(50);
        }
    }

    // ------------------------------------------------------------ the program

    // Under Wine without a window manager (Xvfb), every window that hides
    // waits two seconds for a manager that never answers; unmanaged windows do
    // not wait. Read by each Wine program at its start.
    static void NoWindowManagerWaits()
    {
        if (GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr) return;
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            return;
        rtl::RegKey owner(key);
        RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    }

    void Start(Words args)
    {
        // A program may be started again once the previous one has ended
        // (an installation, then the setup once more to see what it finds).
        DWORD ended = 0;
        if (process_ && !TargetEnded(ended)) throw BadStep{"a program is already running"};
        process_.reset();
        current_ = nullptr;
        NoWindowManagerWaits();
        if (args.empty()) {
            if (program_.empty()) throw BadStep{"start without a program, and no --program given"};
            args.push_back(program_);
        }
        args[0] = WindowsPath(args[0]);
        std::string commandLine = CommandLine(args);
        std::string folder = args[0].substr(0, args[0].find_last_of("\\/") + 1);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(args[0].c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &si, &pi))
            throw StepFailed{"the program started", "CreateProcess failed with error " + std::to_string(GetLastError())};
        rtl::KernelHandle thread(pi.hThread);
        process_.reset(pi.hProcess);
        pid_ = pi.dwProcessId;
    }

    void Attach(const std::string& caption, DWORD limitMs)
    {
        // Also once the started program has ended: one that hands its work to
        // another process (the uninstaller's temporary copy) ends at once.
        DWORD ended = 0;
        if (process_ && !TargetEnded(ended)) throw BadStep{"a program is already running"};
        process_.reset();
        current_ = nullptr;
        HWND found = nullptr;
        WaitFor(limitMs, [&] {
            found = FindShownWindow(caption);
            return found != nullptr;
        });
        if (found == nullptr) throw StepFailed{"a window " + Quote(caption), "none"};
        DWORD pid = 0;
        GetWindowThreadProcessId(found, &pid);
        process_.reset(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, pid));
        if (!process_) throw StepFailed{"access to process " + std::to_string(pid), "OpenProcess failed"};
        pid_ = pid;
        current_ = found;
    }

    // A helper named without a folder is one of the programs beside the driver.
    static void LocateHelper(Words& args)
    {
        if (args[0].find_first_of("\\/:") == std::string::npos) args[0] = DriverDir() + "\\" + args[0];
        args[0] = WindowsPath(args[0]);
    }

    void RunHelper(Words args, DWORD expected)
    {
        LocateHelper(args);
        std::string commandLine = CommandLine(args);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(args[0].c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            throw StepFailed{args[0] + " started", "CreateProcess failed with error " + std::to_string(GetLastError())};
        rtl::KernelHandle thread(pi.hThread);
        rtl::KernelHandle process(pi.hProcess);
        if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
            TerminateProcess(process.get(), 1);
            throw StepFailed{args[0] + " ended within 60 s", "still running; ended now"};
        }
        DWORD code = 1;
        GetExitCodeProcess(process.get(), &code);
        if (code != expected)
            throw StepFailed{args[0] + " exit code " + std::to_string(expected), "exit code " + std::to_string(code)};
    }

    // A helper that lives alongside the program, such as one holding a port:
    // started with its output on a pipe, it counts as ready at its first line.
    void Spawn(Words args)
    {
        const std::string name = args[0];
        LocateHelper(args);
        std::string commandLine = CommandLine(args);
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
            throw StepFailed{"a pipe for " + name + "'s output", "CreatePipe failed with error " + std::to_string(GetLastError())};
        rtl::KernelHandle output(readEnd);
        rtl::KernelHandle childOutput(writeEnd);
        SetHandleInformation(output.get(), HANDLE_FLAG_INHERIT, 0);
        // Its complaints go where the driver's own do.
        HANDLE errors = nullptr;
        const HANDLE ownErrors = GetStdHandle(STD_ERROR_HANDLE);
        if (ownErrors != nullptr && ownErrors != INVALID_HANDLE_VALUE)
            DuplicateHandle(GetCurrentProcess(), ownErrors, GetCurrentProcess(), &errors, 0, TRUE, DUPLICATE_SAME_ACCESS);
        rtl::KernelHandle childErrors(errors);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = childOutput.get();
        si.hStdError = childErrors.get();
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(args[0].c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
            throw StepFailed{args[0] + " started", "CreateProcess failed with error " + std::to_string(GetLastError())};
        rtl::KernelHandle thread(pi.hThread);
        Helper helper{name, rtl::KernelHandle(pi.hProcess), std::move(output)};
        childOutput.reset();  // the helper's end only: a helper that ends closes the pipe

        std::string line;
        bool closed = false;
        const bool ready = WaitFor(timeoutMs_, [&] {
            DWORD available = 0;
            if (!PeekNamedPipe(helper.output.get(), nullptr, 0, nullptr, &available, nullptr)) {
                closed = true;
                return true;
            }
            while (available > 0 && line.find('\n') == std::string::npos) {
                char c = 0;
                DWORD got = 0;
                if (!ReadFile(helper.output.get(), &c, 1, &got, nullptr) || got == 0) break;
                line += c;
                --available;
            }
            return line.find('\n') != std::string::npos;
        });
        const std::string expected = name + " ready (a first line on its output)";
        if (closed || !ready) {
            DWORD code = 0;
            if (WaitForSingleObject(helper.process.get(), 2000) == WAIT_OBJECT_0 &&
                GetExitCodeProcess(helper.process.get(), &code))
                throw StepFailed{expected, "it ended with exit code " + std::to_string(code) + " before that"};
            EndHelper(helper);
            throw StepFailed{expected, "no line within " + Seconds(timeoutMs_) + "; ended now"};
        }
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        std::printf("uidriver: %s: %s\n", name.c_str(), line.c_str());
        helpers_.push_back(std::move(helper));
    }

    void StopHelpers(const std::string& name)
    {
        bool found = false;
        for (Helper& helper : helpers_) {
            if (helper.name != name || !helper.process) continue;
            found = true;
            if (!EndHelper(helper)) throw StepFailed{name + " ended", "still running after 10 s"};
        }
        if (!found) throw BadStep{"no helper " + Quote(name) + " was spawned"};
    }

    // Ends a helper and waits (bounded) until it has gone, and with it what it held.
    static bool EndHelper(Helper& helper)
    {
        if (!helper.process) return true;
        TerminateProcess(helper.process.get(), 0);
        const bool gone = WaitForSingleObject(helper.process.get(), 10000) == WAIT_OBJECT_0;
        helper.process.reset();
        helper.output.reset();
        return gone;
    }

    void RequireTarget()
    {
        if (!process_) throw BadStep{"no program started or attached"};
    }

    bool TargetEnded(DWORD& code)
    {
        if (!process_ || WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) return false;
        GetExitCodeProcess(process_.get(), &code);
        return true;
    }

    // A wait that gave up: say why, naming what was on the screen.
    [[noreturn]] void WaitFailed(const std::string& expected, const std::string& found)
    {
        DWORD code = 0;
        if (TargetEnded(code)) throw StepFailed{expected, "the program ended with exit code " + std::to_string(code)};
        throw StepFailed{expected, found};
    }

    void EndTarget() { EndProcess(process_); }

    static void EndProcess(const rtl::KernelHandle& process)
    {
        if (process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(process.get(), 255);
            WaitForSingleObject(process.get(), 5000);
        }
    }

    void Detach()
    {
        if (!process_) throw BadStep{"detach without a program"};
        detached_.push_back(std::move(process_));
        current_ = nullptr;
        pid_ = 0;
    }

    std::string WindowList()
    {
        std::string list;
        for (HWND w : TopWindows(pid_)) {
            if (!list.empty()) list += ", ";
            list += Quote(WindowText(w));
        }
        return list.empty() ? "no window" : "windows " + list;
    }

    // ------------------------------------------------------------ windows

    HWND FindTop(const std::string& caption, bool messageBox)
    {
        for (HWND w : TopWindows(pid_))
            if (IsMessageBox(w) == messageBox && (messageBox || WindowText(w) == caption)) return w;
        return nullptr;
    }

    void WaitWindow(const std::string& caption, DWORD limitMs)
    {
        RequireTarget();
        HWND found = nullptr;
        DWORD code = 0;
        WaitFor(limitMs, [&] {
            found = FindTop(caption, false);
            return found != nullptr || TargetEnded(code);
        });
        if (found == nullptr) WaitFailed("a window " + Quote(caption), WindowList());
        current_ = found;
        Settle(found);
        Shoot(found, caption);
    }

    HWND Current()
    {
        if (current_ == nullptr || !IsWindow(current_)) throw BadStep{"no current window (use window CAPTION first)"};
        return current_;
    }

    // Lets the program's thread finish what is queued and paint.
    void Settle(HWND hwnd)
    {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        Sleep(150);
    }

    HWND Control(const std::string& name)
    {
        HWND top = Current();
        HWND found = nullptr;
        WaitFor(timeoutMs_, [&] { return (found = FindNamed(top, name)) != nullptr; });
        if (found == nullptr)
            throw StepFailed{"a control named " + name + " in " + Quote(WindowText(top)),
                             "none; named controls:" + NamedControls(top)};
        return found;
    }

    // A control a person can use now: visible and enabled (waits for that).
    HWND Usable(const std::string& name)
    {
        HWND control = Control(name);
        if (!WaitFor(timeoutMs_, [&] { return IsWindowVisible(control) && EffectivelyEnabled(control); }))
            WaitFailed(name + " visible and enabled",
                       std::string(IsWindowVisible(control) ? "visible" : "hidden") + " and " +
                           (EffectivelyEnabled(control) ? "enabled" : "disabled"));
        return control;
    }

    // ------------------------------------------------------------ actions

    void Check(const std::string& listName, const std::string& item, bool ticked)
    {
        HWND list = Control(listName);
        std::vector<ListLine> lines;
        std::string error;
        if (!ReadList(list, lines, error)) throw StepFailed{"a readable list " + listName, error};
        int index = -1;
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            texts.push_back(RenderLine(lines[i]));
            if (lines[i].text == item && index < 0) index = static_cast<int>(i);
        }
        if (index < 0) throw StepFailed{"an item " + Quote(item) + " in " + listName, JoinLines(texts)};
        if (!SetTick(list, index, ticked, error))
            throw StepFailed{Quote(item) + (ticked ? " ticked" : " unticked"), error};
        const ListLine::Kind want = ticked ? ListLine::Ticked : ListLine::Unticked;
        ListLine now;
        if (!WaitFor(timeoutMs_, [&] {
                return ReadList(list, lines, error) && static_cast<int>(lines.size()) > index &&
                       (now = lines[index]).kind == want;
            }))
            throw StepFailed{RenderLine({item, want}), RenderLine(now)};
    }

    // A click on an item whatever it is (a header row included), as a person may do.
    void ClickItem(const std::string& listName, const std::string& item)
    {
        HWND list = Usable(listName);
        std::vector<ListLine> lines;
        std::string error;
        if (!ReadList(list, lines, error)) throw StepFailed{"a readable list " + listName, error};
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i].text != item) continue;
            if (!ClickListItem(list, static_cast<int>(i), error)) throw StepFailed{"a click on " + Quote(item), error};
            Settle(list);
            return;
        }
        std::vector<std::string> texts;
        for (const auto& line : lines) texts.push_back(RenderLine(line));
        throw StepFailed{"an item " + Quote(item) + " in " + listName, JoinLines(texts)};
    }

    void Type(const std::string& name, const std::string& text)
    {
        HWND edit = Usable(name);
        if (!SendText(edit, text)) throw StepFailed{name + " takes the text", "WM_SETTEXT failed"};
        const std::string now = WindowText(edit);
        if (now != text) throw StepFailed{name + " holding " + Quote(text), Quote(now)};
    }

    void Press(const std::string& name)
    {
        PostButtonPress(Usable(name));
    }

    void Key(const std::string& key)
    {
        HWND top = Current();
        HWND focus = FocusOf(top);
        // Keys go to the control with the focus, as on a keyboard; a window
        // without a focused control gets them itself.
        if (focus == nullptr || (focus != top && !IsChild(top, focus))) focus = top;
        std::string error;
        if (!PostKey(focus, key, error)) throw BadStep{error};
    }

    // ------------------------------------------------------------ checks

    void ExpectText(const std::string& name, const std::string& text)
    {
        HWND control = Control(name);
        std::string now;
        if (!WaitFor(timeoutMs_, [&] { return (now = WindowText(control)) == text; }))
            WaitFailed(name + " reading " + Quote(text), Quote(now));
    }

    // The program's thread is busy while it shows these texts, so they are
    // read without sending it a message.
    void ExpectSteps(const std::string& name, const Words& expected)
    {
        HWND control = Control(name);
        HWND top = Current();
        Words seen;
        std::string last = PlainWindowText(control);
        if (last == expected[0]) seen.push_back(last);
        bool shot = false;
        auto over = [&] {
            DWORD code = 0;
            if (!IsWindow(top) || !IsWindowVisible(top) || TargetEnded(code)) return true;
            for (HWND w : TopWindows(pid_))
                if (IsMessageBox(w)) return true;
            return false;
        };
        const ULONGLONG deadline = GetTickCount64() + timeoutMs_;
        bool ended = false;
        while (!(ended = over()) && GetTickCount64() < deadline) {
            const std::string now = PlainWindowText(control);
            if (now != last && !now.empty()) seen.push_back(now);
            last = now;
            if (!shot && seen.size() * 2 >= expected.size()) {
                Shoot(top, "steps " + seen.back());
                shot = true;
            }
            Sleep(15);
        }
        if (!ended) throw StepFailed{"the window closing after" + JoinLines(expected), "still open after" + JoinLines(seen)};
        if (seen != expected) throw StepFailed{name + " showing" + JoinLines(expected), JoinLines(seen)};
    }

    void ExpectLines(const std::string& name, const Words& expected)
    {
        HWND list = Control(name);
        std::vector<std::string> now;
        std::string error;
        const bool same = WaitFor(timeoutMs_, [&] {
            std::vector<ListLine> lines;
            if (!ReadList(list, lines, error)) return false;
            now.clear();
            for (const auto& line : lines) now.push_back(RenderLine(line));
            return now == expected;
        });
        if (!same) WaitFailed(name + " holding" + JoinLines(expected), error.empty() ? JoinLines(now) : error);
    }

    void ExpectEnabled(const std::string& name, bool enabled)
    {
        HWND control = Control(name);
        if (!WaitFor(timeoutMs_, [&] { return EffectivelyEnabled(control) == enabled; }))
            WaitFailed(name + (enabled ? " enabled" : " disabled"), enabled ? "disabled" : "enabled");
    }

    void ExpectFocus(const std::string& name)
    {
        HWND control = Control(name);
        HWND focus = nullptr;
        if (!WaitFor(timeoutMs_, [&] { return (focus = FocusOf(control)) == control; })) {
            std::string has = "no control";
            if (focus != nullptr) {
                has = ui::GetControlName(focus);
                if (has.empty()) has = "an unnamed " + ClassName(focus) + " " + Quote(WindowText(focus));
            }
            WaitFailed("the focus on " + name, "the focus on " + has);
        }
    }

    // ------------------------------------------------------------ message boxes and the end

    void Message(const std::string& text, const std::string& button)
    {
        RequireTarget();
        HWND box = nullptr;
        if (!WaitFor(timeoutMs_, [&] { return (box = FindTop("", true)) != nullptr; }))
            WaitFailed("a message box " + Quote(text), WindowList());
        Settle(box);
        std::string now;
        WaitFor(2000, [&] { return (now = MessageBoxText(box)) == text; });
        Shoot(box, "message " + now);
        if (now != text) throw StepFailed{"a message box " + Quote(text), "a message box " + Quote(now)};
        HWND press = FindButton(box, button);
        if (press == nullptr) throw StepFailed{"a button " + Quote(button) + " in the message box", "none"};
        PostButtonPress(press);
        if (!WaitFor(timeoutMs_, [&] { return !IsWindow(box) || !IsWindowVisible(box); }))
            throw StepFailed{"the message box closed by " + Quote(button), "it stays open"};
    }

    void ExpectExit(DWORD code, DWORD limitMs)
    {
        RequireTarget();
        const std::vector<HWND> before = TopWindows(pid_);
        const std::set<HWND> known(before.begin(), before.end());
        HWND stranger = nullptr;
        DWORD now = 0;
        const bool ended = WaitFor(limitMs, [&] {
            if (TargetEnded(now)) return true;
            for (HWND w : TopWindows(pid_))
                if (!known.count(w)) stranger = w;
            return stranger != nullptr;
        });
        if (stranger != nullptr) {
            Settle(stranger);
            const std::string what = IsMessageBox(stranger) ? "a message box " + Quote(MessageBoxText(stranger))
                                                            : "a window " + Quote(WindowText(stranger));
            Shoot(stranger, "unexpected");
            throw StepFailed{"the program ending with exit code " + std::to_string(code) + " and no other window", what};
        }
        if (!ended) throw StepFailed{"the program ending with exit code " + std::to_string(code), "still running; " + WindowList()};
        if (now != code) throw StepFailed{"exit code " + std::to_string(code), "exit code " + std::to_string(now)};
        current_ = nullptr;
    }

    // ------------------------------------------------------------ what the machine holds

    // A value below HKEY_LOCAL_MACHINE as text: strings as they are, binary
    // values (component records) as their bytes up to the first zero byte.
    void ExpectRegistry(const std::string& key, const std::string& name, const std::string& text)
    {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
            throw StepFailed{"the key HKLM\\" + key, "no such key"};
        rtl::RegKey owner(opened);
        DWORD type = 0, size = 0;
        const char* valueName = name.empty() ? nullptr : name.c_str();
        if (RegQueryValueExA(opened, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            throw StepFailed{"a value " + Quote(name) + " in HKLM\\" + key, "no such value"};
        std::string bytes(size, '\0');
        RegQueryValueExA(opened, valueName, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
        bytes.resize(std::min<std::size_t>(size, bytes.find('\0')));
        if (type != REG_SZ && type != REG_BINARY)
            throw StepFailed{"a string or binary value", "a value of type " + std::to_string(type)};
        if (bytes != text) throw StepFailed{Quote(Escaped(text)), Quote(Escaped(bytes))};
    }

    void ExpectNoKey(const std::string& key)
    {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS) {
            RegCloseKey(opened);
            throw StepFailed{"no key HKLM\\" + key, "the key exists"};
        }
    }

    void ExpectFile(const std::string& path, bool present)
    {
        const DWORD attributes = GetFileAttributesA(WindowsPath(path).c_str());
        const bool there = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (there != present) throw StepFailed{path + (present ? " present" : " absent"), there ? "present" : "absent"};
    }

    // Line breaks shown as the scenario writes them.
    static std::string Escaped(const std::string& text)
    {
        std::string out;
        for (char c : text) {
            if (c == '\r') out += "\\r";
            else if (c == '\n') out += "\\n";
            else if (c == '\t') out += "\\t";
            else out += c;
        }
        return out;
    }

    // ------------------------------------------------------------ screenshots

    void Shoot(HWND hwnd, const std::string& label)
    {
        if (shots_.empty()) return;
        RECT rc{};
        if (hwnd == nullptr || !GetWindowRect(hwnd, &rc)) {
            rc = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        } else if (HWND owner = GetWindow(hwnd, GW_OWNER); owner != nullptr && IsWindowVisible(owner)) {
            // A message box is shown over its owner, as the person sees it.
            RECT ownerRc{};
            if (GetWindowRect(owner, &ownerRc)) UnionRect(&rc, &rc, &ownerRc);
        }
        char number[8];
        std::snprintf(number, sizeof number, "%02d-", ++shotCount_);
        std::string name = number;
        for (char c : label) name += (std::isalnum(static_cast<unsigned char>(c)) || c == '-') ? c : '_';
        std::string error;
        const std::string written = SaveScreenRect(rc, shots_ + "\\" + name.substr(0, 60) + ".png", error);
        if (written.empty()) std::printf("uidriver: screenshot %s not taken: %s\n", name.c_str(), error.c_str());
        else std::printf("uidriver: screenshot %s\n", written.c_str());
    }

    void ShootFailure()
    {
        Shoot(nullptr, "failed");
    }

public:
    static std::string DriverDir()
    {
        const std::string dir = rtl::ModulePath();
        return dir.substr(0, dir.find_last_of('\\'));
    }

private:
    std::string program_;
    std::string shots_;
    std::vector<Helper> helpers_;
    rtl::KernelHandle process_;
    std::vector<rtl::KernelHandle> detached_;  // run on unwatched; ended with the scenario
    DWORD pid_ = 0;
    HWND current_ = nullptr;
    DWORD timeoutMs_ = 20000;
    int shotCount_ = 0;
};

std::string Usage()
{
    return "usage: uidriver [--program PATH] [--shots DIR] [--set NAME=VALUE]... [--env NAME]... [--cases FILE --case NAME] "
           "SCENARIO";
}

int Main(int argc, char** argv)
{
    std::string program, shots, casesFile, caseName, scenario;
    Variables vars;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw BadStep{arg + " needs a value"};
            return argv[++i];
        };
        if (arg == "--program") program = WindowsPath(value());
        else if (arg == "--shots") shots = WindowsPath(value());
        else if (arg == "--cases") casesFile = WindowsPath(value());
        else if (arg == "--case") caseName = value();
        else if (arg == "--set") {
            const std::string pair = value();
            const std::size_t eq = pair.find('=');
            if (eq == std::string::npos) throw BadStep{"--set needs NAME=VALUE"};
            vars[pair.substr(0, eq)] = pair.substr(eq + 1);
        } else if (arg == "--env") {
            // What only the test's wrapper knows, such as the port of a server it started.
            const std::string name = value();
            const char* text = std::getenv(name.c_str());
            if (text == nullptr) throw BadStep{"--env " + name + ": no such environment variable"};
            vars[name] = text;
        } else if (!arg.empty() && arg[0] == '-') throw BadStep{"unknown option " + arg};
        else if (scenario.empty()) scenario = WindowsPath(arg);
        else throw BadStep{"more than one scenario given"};
    }
    if (scenario.empty()) throw BadStep{"no scenario given"};
    if (casesFile.empty() != caseName.empty()) throw BadStep{"--cases and --case go together"};

    // What every scenario may use.
    vars["PROGRAM"] = program;
    vars["DRIVER_DIR"] = Driver::DriverDir();
    vars["LOCAL_ADDRESS"] = LocalAddress();
    vars["HOST_NAME"] = HostName();
    char env[MAX_PATH] = {};
    vars["PROGRAM_FILES"] = GetEnvironmentVariableA("ProgramFiles", env, sizeof env) ? env : "";
    // The shared folders differ between prefixes and Windows versions: asked, never assumed.
    vars["COMMON_PROGRAMS"] = SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, env) == S_OK ? env : "";
    vars["COMMON_DESKTOP"] = SHGetFolderPathA(nullptr, CSIDL_COMMON_DESKTOPDIRECTORY, nullptr, 0, env) == S_OK ? env : "";
    if (!casesFile.empty()) {
        const auto cases = ParseCases(ReadFileText(casesFile));
        const auto it = cases.find(caseName);
        if (it == cases.end()) throw BadStep{"no case " + caseName + " in " + casesFile};
        for (const auto& [name, text] : it->second) vars[name] = text;
        std::printf("uidriver: case %s\n", caseName.c_str());
    }
    if (!shots.empty()) CreateDirectoryA(shots.c_str(), nullptr);
    const std::string folder = scenario.substr(0, scenario.find_last_of("/\\") + 1);
    const std::vector<Step> steps = ParseScenario(ReadFileText(scenario), vars, [&folder](const std::string& name) {
        return ReadFileText(folder + name);
    });
    Driver driver(program, shots);
    return driver.Run(steps);
}

}  // namespace
}  // namespace uidrv

int main(int argc, char** argv)
{
    try {
        return uidrv::Main(argc, argv);
    } catch (const uidrv::BadStep& bad) {
        std::printf("uidriver: %s\n%s\n", bad.what.c_str(), uidrv::Usage().c_str());
    } catch (const uidrv::ScenarioError& error) {
        std::printf("uidriver: scenario %s\n", error.what());
    } catch (const std::exception& error) {
        std::printf("uidriver: %s\n", error.what());
    }
    return 2;
}
