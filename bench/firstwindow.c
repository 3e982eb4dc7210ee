// Start to first window: starts a program and measures the time until it
// shows a visible top-level window and has painted it (its message loop is
// idle again, so the first WM_PAINT is done). Then ends the program.
//
//   firstwindow PROGRAM [ARGUMENTS...]
//
// Prints the milliseconds; exit code 1 when no window came within 30 s.
#include <windows.h>

#include <stdio.h>
#include <string.h>

struct search {
    DWORD pid;
    HWND found;
};

static BOOL CALLBACK visit(HWND hwnd, LPARAM param)
{
    struct search* s = (struct search*)param;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && IsWindowVisible(hwnd)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: firstwindow PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    char line[4096] = "";
    for (int i = 1; i < argc; ++i) {
        if (strlen(line) + strlen(argv[i]) + 4 >= sizeof line) return 2;
        strcat(line, i > 1 ? " \"" : "\"");
        strcat(line, argv[i]);
        strcat(line, "\"");
    }
    LARGE_INTEGER freq, start, now;
    QueryPerformanceFrequency(&freq);
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) {
        fprintf(stderr, "firstwindow: cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    struct search s = {pi.dwProcessId, NULL};
    int rc = 1;
    for (int i = 0; i < 30000; ++i) {
        EnumWindows(visit, (LPARAM)&s);
        if (s.found != NULL && WaitForInputIdle(pi.hProcess, 0) == 0) {
            DWORD_PTR result;
            if (SendMessageTimeoutA(s.found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result)) {
                QueryPerformanceCounter(&now);
                printf("%.1f\n", (double)(now.QuadPart - start.QuadPart) * 1000.0 / (double)freq.QuadPart);
                rc = 0;
                break;
            }
        }
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    if (rc != 0) fprintf(stderr, "firstwindow: %s showed no window\n", argv[1]);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return rc;
}
