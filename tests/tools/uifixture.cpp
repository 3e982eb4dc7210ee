// A small window program for testing the UI driver itself: named controls,
// a check list kept the way the setup's check lists keep it (item data 0
// unticked, 1 ticked, 2 header row; a click on an item toggles it), Enter and
// Esc on default and cancel buttons, a message box, texts shown while busy
// and an exit code.
//
// Windows: "Fixture Licence" (I Agree / Disagree), then "Fixture Form".
// Exit code: 0 after Disagree or Cancel, 3 after Done.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/ui/control_name.h"

namespace {

enum : int { IdList = 100, IdEdit, IdLabel, IdNext, IdDone, IdOff };

HINSTANCE instance;
std::vector<ui::GlobalAtom> names;  // the windows' names live as long as the program
HWND licence, form, list, edit, label;
int exitCode = 0;

HWND Child(HWND parent, const char* cls, const char* text, DWORD style, int id, int x, int y, int w, int h,
           const char* name)
{
    HWND hwnd = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    names.push_back(ui::SetControlName(hwnd, name));
    return hwnd;
}

std::string Ticked()
{
    std::string out;
    const auto count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageA(list, LB_GETITEMDATA, i, 0) != 1) continue;
        char text[64] = {};
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        if (!out.empty()) out += ',';
        out += text;
    }
    return out;
}

WNDPROC listProc;

LRESULT CALLBACK ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN) {
        const LRESULT hit = SendMessageA(hwnd, LB_ITEMFROMPOINT, 0, lParam);
        const LRESULT state = SendMessageA(hwnd, LB_GETITEMDATA, LOWORD(hit), 0);
        if (HIWORD(hit) == 0 && state != 2) {
            SendMessageA(hwnd, LB_SETITEMDATA, LOWORD(hit), state == 1 ? 0 : 1);
            InvalidateRect(hwnd, nullptr, TRUE);
        }
    }
    return CallWindowProcA(listProc, hwnd, message, wParam, lParam);
}

void BuildForm()
{
    form = CreateWindowExA(0, "QvFixture", "Fixture Form", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr,
                           nullptr, instance, nullptr);
    names.push_back(ui::SetControlName(form, "FmForm"));
    list = Child(form, "LISTBOX", "", WS_BORDER | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY, IdList, 10, 10,
                 150, 80, "clb");
    listProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
    const char* items[] = {"Header", "Alpha", "Beta"};
    for (int i = 0; i < 3; ++i) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
        SendMessageA(list, LB_SETITEMDATA, i, i == 0 ? 2 : 0);
    }
    edit = Child(form, "EDIT", "start", WS_BORDER | WS_TABSTOP, IdEdit, 170, 10, 200, 22, "leName");
    label = Child(form, "STATIC", "nothing yet", 0, IdLabel, 170, 40, 200, 22, "lbState");
    Child(form, "BUTTON", "Next", WS_TABSTOP | BS_DEFPUSHBUTTON, IdNext, 10, 220, 75, 25, "bnNext");
    Child(form, "BUTTON", "Done", WS_TABSTOP, IdDone, 90, 220, 75, 25, "bnDone");
    Child(form, "BUTTON", "Cancel", WS_TABSTOP, IDCANCEL, 170, 220, 75, 25, "bnCancel");
    HWND off = Child(form, "BUTTON", "Off", WS_TABSTOP, IdOff, 250, 220, 75, 25, "bnOff");
    EnableWindow(off, FALSE);
    ShowWindow(form, SW_SHOW);
    SetFocus(list);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->itemID == static_cast<UINT>(-1)) return TRUE;
        char text[64] = {};
        SendMessageA(item->hwndItem, LB_GETTEXT, item->itemID, reinterpret_cast<LPARAM>(text));
        const std::string line =
            std::string(item->itemData == 2 ? "" : item->itemData == 1 ? "[x] " : "[ ] ") + text;
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(item->itemData == 2 ? COLOR_INFOBK : COLOR_WINDOW));
        RECT rc = item->rcItem;
        DrawTextA(item->hDC, line.c_str(), -1, &rc, DT_SINGLELINE | DT_VCENTER);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (hwnd == licence) {
                BuildForm();
                DestroyWindow(licence);
                licence = nullptr;
                return 0;
            }
            [[fallthrough]];
        case IdNext:
            if (hwnd == form) {
                const std::string ticked = Ticked();
                if (ticked.empty()) {
                    MessageBoxA(form, "No selection", "Fixture Form", MB_OK);
                } else {
                    char text[128] = {};
                    GetWindowTextA(edit, text, sizeof text);
                    SetWindowTextA(label, (ticked + ";" + text).c_str());
                }
            }
            return 0;
        case IdDone:
            // A busy end, as the setup's installation run has: texts shown
            // one after another while the thread takes no messages.
            for (const char* text : {"Closing 1", "Closing 2", "Closing 3"}) {
                SetWindowTextA(label, text);
                UpdateWindow(label);
                Sleep(200);
            }
            exitCode = 3;
            DestroyWindow(hwnd);
            return 0;
        case IDCANCEL:
            DestroyWindow(hwnd);
            return 0;
        default:
            break;
        }
        break;
    case WM_DESTROY:
        if (hwnd == form || (hwnd == licence && form == nullptr)) PostQuitMessage(exitCode);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    instance = hInstance;
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "QvFixture";
    RegisterClassA(&wc);

    licence = CreateWindowExA(0, "QvFixture", "Fixture Licence", WS_OVERLAPPEDWINDOW, 100, 100, 300, 150, nullptr,
                              nullptr, hInstance, nullptr);
    names.push_back(ui::SetControlName(licence, "FmLicence"));
    HWND yes = Child(licence, "BUTTON", "I Agree", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 110, 80, 75, 25, "bnYes");
    Child(licence, "BUTTON", "Disagree", WS_TABSTOP, IDCANCEL, 30, 80, 75, 25, "bnNo");
    ShowWindow(licence, SW_SHOW);
    SetFocus(yes);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        HWND top = licence != nullptr ? licence : form;
        if (top != nullptr && IsDialogMessageA(top, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
