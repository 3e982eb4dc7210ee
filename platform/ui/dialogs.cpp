#include "dialogs.h"

#include <shlobj.h>

#include "control_name.h"
#include "extctrls.h"
#include "forms.h"
#include "platform/rtl/sysutils.h"
#include "stdctrls.h"
#include "ui_handles.h"

namespace ui {

namespace {

HWND MessageOwner()
{
    HWND active = GetActiveWindow();
    if (active != nullptr && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId()) return active;
    return nullptr;
}

// What the folder browser's callback works with.
struct BrowseState {
    const std::string* initial;
    GlobalAtom name;  // the dialog's name for the UI driver, freed after it closed
};

int CALLBACK BrowseCallback(HWND hwnd, UINT message, LPARAM /*lParam*/, LPARAM data)
{
    if (message != BFFM_INITIALIZED) return 0;
    SafeCall([hwnd, data] {
        auto* state = reinterpret_cast<BrowseState*>(data);
        // By path: Wine's dialog ignores a selection given as an item list.
        if (!state->initial->empty()) {
            const std::wstring initial = rtl::Widen(*state->initial);
            SendMessageW(hwnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(initial.c_str()));
        }
        // Named only once the selection stands: selecting may pump messages,
        // and whoever looks for the dialog by name must find it complete.
        state->name = SetControlName(hwnd, "SelectDirectory");
    });
    return 0;
}

}  // namespace

void ShowMessage(const std::string& text)
{
    MessageBoxA(MessageOwner(), text.c_str(), Application().Title().c_str(), MB_OK);
}

void ShowError(const std::string& text)
{
    MessageBoxA(MessageOwner(), text.c_str(), Application().Title().c_str(), MB_OK | MB_ICONERROR);
}

bool SelectDirectory(HWND owner, const std::string& title, const std::string& root, const std::string& initial,
                     std::string& folder)
{
    ItemIdList rootList;
    if (!root.empty()) {
        LPITEMIDLIST pidl = nullptr;
        if (SUCCEEDED(SHParseDisplayName(rtl::Widen(root).c_str(), nullptr, &pidl, 0, nullptr))) rootList.reset(pidl);
    }
    char display[MAX_PATH] = "";
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = rootList.get();
    info.pszDisplayName = display;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    BrowseState state{&initial, {}};
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&state);

    ItemIdList chosen;
    {
        const TOtherWindowsDisabled others(nullptr);
        const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
        chosen.reset(SHBrowseForFolderA(&info));
        SetErrorMode(oldMode);
    }
    if (owner != nullptr) SetActiveWindow(owner);

    if (!chosen) return false;
    char path[MAX_PATH] = "";
    if (!SHGetPathFromIDListA(chosen.get(), path)) return false;
    folder = path;
    return true;
}

bool LoginDialog(const std::string& databaseName, std::string& userName, std::string& password)
{
    TForm form("LoginDialog", "Database Login", 300, 170);
    form.SetClientSize(290, 140);
    form.CenterOnScreen();
    SetWindowLongPtrA(form.Handle(), GWL_STYLE,
                      GetWindowLongPtrA(form.Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX));

    auto* frame = form.Make<TPanel>(&form);
    frame->SetBevelOuter(TBevel::bvLowered);
    frame->SetBounds(8, 8, 274, 90);
    auto* dbLabel = form.Make<TLabel>(frame, "Database:");
    dbLabel->SetBounds(12, 12, dbLabel->Width(), dbLabel->Height());
    auto* dbName = form.Make<TLabel>(frame, databaseName);
    dbName->SetName("DatabaseName");
    dbName->SetBounds(92, 12, dbName->Width(), dbName->Height());
    auto* user = form.Make<TLabeledEdit>(frame, "User Name");
    user->SetName("UserName");
    user->SetBounds(92, 32, 168, 21);
    user->SetText(userName);
    auto* pass = form.Make<TLabeledEdit>(frame, "Password");
    pass->SetName("Password");
    pass->SetBounds(92, 60, 168, 21);
    pass->SetPasswordChar('*');
    pass->SetText(password);
    // The labels line up with "Database:" on the left.
    for (TLabeledEdit* edit : {user, pass}) {
        TLabel* label = edit->EditLabel();
        label->SetBounds(12, label->Top(), label->Width(), label->Height());
    }

    auto* ok = form.Make<TButton>(&form, "OK");
    ok->SetName("OKButton");
    ok->SetBounds(126, 106, 75, 25);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = form.Make<TButton>(&form, "Cancel");
    cancel->SetName("CancelButton");
    cancel->SetBounds(207, 106, 75, 25);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    form.SetActiveControl(user);

    if (form.ShowModal() != mrOk) return false;
    userName = user->Text();
    password = pass->Text();
    return true;
}

}  // namespace ui
