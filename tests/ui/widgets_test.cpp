// The window layer: modal results, Enter and Esc, layout by Align and Anchors,
// the check list, labelled edits, the cursor guard and handler errors.
#include <gtest/gtest.h>

#include <objbase.h>

#include <stdexcept>

#include "gui_helpers.h"
#include "platform/ui/checklst.h"
#include "platform/ui/cursor.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

using namespace ui;

namespace {

constexpr int kStuck = 99;

// A form with an edit, a default OK button and a cancel button; a safety
// timer ends a loop that nothing else ends, so that every test finishes.
struct TTestForm {
    TForm form{"TestForm", "Test", 400, 300};
    TEdit* edit = form.Make<TEdit>(&form);
    TButton* ok = form.Make<TButton>(&form, "OK");
    TButton* cancel = form.Make<TButton>(&form, "Cancel");
    TButton* other = form.Make<TButton>(&form, "Other");
    TTimer* safety = form.Make<TTimer>();

    TTestForm()
    {
        edit->SetBounds(10, 10, 100, 21);
        ok->SetBounds(10, 50, 75, 25);
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        cancel->SetBounds(90, 50, 75, 25);
        cancel->SetCancel(true);
        cancel->SetModalResult(mrCancel);
        other->SetBounds(170, 50, 75, 25);
        form.SetActiveControl(edit);
        safety->SetInterval(15000);
        safety->OnTimer = [this](TObject*) { form.SetModalResult(kStuck); };
    }

    int ShowWith(std::function<void()> user) { return guitest::ShowWith(form, std::move(user)); }
};

}  // namespace

TEST(Modal, ResultsFromButtonsKeysAndClose)
{
    struct Case {
        const char* what;
        std::function<void(TTestForm&)> user;
        int result;
    };
    const Case cases[] = {
        {"OK clicked", [](TTestForm& f) { SendMessageA(f.ok->Handle(), BM_CLICK, 0, 0); }, mrOk},
        {"Cancel clicked", [](TTestForm& f) { SendMessageA(f.cancel->Handle(), BM_CLICK, 0, 0); }, mrCancel},
        {"Enter in the edit presses the default button", [](TTestForm&) { guitest::Key(VK_RETURN); }, mrOk},
        {"Esc presses the cancel button", [](TTestForm&) { guitest::Key(VK_ESCAPE); }, mrCancel},
        {"Enter on a focused button presses that button",
         [](TTestForm& f) {
             f.cancel->SetFocus();
             guitest::Key(VK_RETURN);
         },
         mrCancel},
        {"close box", [](TTestForm& f) { PostMessageA(f.form.Handle(), WM_CLOSE, 0, 0); }, mrCancel},
        {"Enter with the default button disabled does nothing",
         [](TTestForm& f) {
             f.ok->SetEnabled(false);
             guitest::Key(VK_RETURN);
             guitest::Key(VK_ESCAPE);
         },
         mrCancel},
        {"Esc with the cancel button disabled does nothing",
         [](TTestForm& f) {
             f.cancel->SetEnabled(false);
             guitest::Key(VK_ESCAPE);
             guitest::Key(VK_RETURN);
         },
         mrOk},
    };
    for (const Case& c : cases) {
        TTestForm f;
        const int result = f.ShowWith([&] { c.user(f); });
        EXPECT_EQ(result, c.result) << c.what;
        EXPECT_FALSE(IsWindowVisible(f.form.Handle())) << c.what;
    }
}

TEST(Modal, ButtonWithoutResultRunsItsHandlerAndKeepsTheLoop)
{
    TTestForm f;
    int clicks = 0;
    f.other->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, f.other);
        ++clicks;
    };
    int resultInHandler = -1;
    f.ok->OnClick = [&](TObject*) { resultInHandler = f.form.ModalResult(); };
    const int result = f.ShowWith([&] {
        SendMessageA(f.other->Handle(), BM_CLICK, 0, 0);
        SendMessageA(f.other->Handle(), BM_CLICK, 0, 0);
        EXPECT_TRUE(f.form.InModalLoop());
        SendMessageA(f.ok->Handle(), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(resultInHandler, mrOk);  // the result is set before the handler runs
}

TEST(Modal, OtherWindowsAreDisabledOnlyWhileItRuns)
{
    TForm owner("Owner", "Owner", 200, 100);
    owner.Show();
    TTestForm f;
    bool ownerEnabledInside = true;
    f.ShowWith([&] {
        ownerEnabledInside = IsWindowEnabled(owner.Handle()) != FALSE;
        PostMessageA(f.form.Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST(Modal, PositiveResults)
{
    for (int r = 0; r <= 12; ++r)
        EXPECT_EQ(IsPositiveResult(r), r == 1 || r == 6 || r == 8 || r == 10) << r;
}

TEST(Layout, AlignDocksInOrderAndFollowsResize)
{
    TForm form("LayoutForm", "Layout", 300, 300);
    form.SetClientSize(400, 300);
    auto* top = form.Make<TPanel>(&form);
    top->SetHeight(30);
    top->SetAlign(TAlign::alTop);
    auto* bottom = form.Make<TPanel>(&form);
    bottom->SetHeight(29);
    bottom->SetAlign(TAlign::alBottom);
    auto* spacer = form.Make<TPanel>(&form);
    spacer->SetHeight(3);
    spacer->SetAlign(TAlign::alBottom);
    auto* left = form.Make<TPanel>(&form);
    left->SetWidth(50);
    left->SetAlign(TAlign::alLeft);
    auto* right = form.Make<TPanel>(&form);
    right->SetWidth(40);
    right->SetAlign(TAlign::alRight);
    auto* client = form.Make<TPanel>(&form);
    client->SetAlign(TAlign::alClient);
    client->SetBorderWidth(2);
    client->SetBevelWidth(3);  // raised outer bevel: 3 + border 2 inside
    auto* inner = form.Make<TPanel>(client);
    inner->SetAlign(TAlign::alClient);

    auto bounds = [](TControl* c) { return std::vector<int>{c->Left(), c->Top(), c->Width(), c->Height()}; };
    auto check = [&](int w, int h) {
        EXPECT_EQ(bounds(top), (std::vector<int>{0, 0, w, 30}));
        EXPECT_EQ(bounds(bottom), (std::vector<int>{0, h - 29, w, 29}));
        EXPECT_EQ(bounds(spacer), (std::vector<int>{0, h - 32, w, 3}));
        EXPECT_EQ(bounds(left), (std::vector<int>{0, 30, 50, h - 62}));
        EXPECT_EQ(bounds(right), (std::vector<int>{w - 40, 30, 40, h - 62}));
        EXPECT_EQ(bounds(client), (std::vector<int>{50, 30, w - 90, h - 62}));
        EXPECT_EQ(bounds(inner), (std::vector<int>{5, 5, w - 100, h - 72}));
        RECT real;
        GetWindowRect(client->Handle(), &real);
        EXPECT_EQ(real.right - real.left, w - 90);
    };
    check(400, 300);
    form.SetClientSize(500, 360);
    check(500, 360);
    client->SetBevelOuter(TBevel::bvNone);  // the inset shrinks to the border
    EXPECT_EQ(bounds(inner), (std::vector<int>{2, 2, 500 - 90 - 4, 360 - 62 - 4}));
}

TEST(Layout, AnchorsKeepDistancesToTheEdges)
{
    TForm form("AnchorForm", "Anchors", 300, 300);
    form.SetClientSize(400, 300);
    auto* bar = form.Make<TPanel>(&form);
    bar->SetHeight(29);
    bar->SetAlign(TAlign::alBottom);
    auto* button = form.Make<TButton>(bar, "Next");
    button->SetBounds(323, 2, 75, 25);
    button->SetAnchors(akRight | akBottom);
    auto* stretched = form.Make<TEdit>(&form);
    stretched->SetBounds(10, 10, 380, 21);
    stretched->SetAnchors(akLeft | akTop | akRight);
    auto* fixed = form.Make<TEdit>(&form);
    fixed->SetBounds(10, 40, 100, 21);

    form.SetClientSize(520, 340);
    EXPECT_EQ(button->Left(), 443);
    EXPECT_EQ(button->Top(), 2);
    EXPECT_EQ(button->Width(), 75);
    EXPECT_EQ(stretched->Width(), 500);
    EXPECT_EQ(fixed->Left(), 10);
    EXPECT_EQ(fixed->Width(), 100);
    form.SetClientSize(380, 200);
    EXPECT_EQ(button->Left(), 303);
    EXPECT_EQ(stretched->Width(), 360);
}

TEST(CheckList, ClicksAndSpaceTickItemsButNeverHeaders)
{
    TForm form("ListForm", "List", 300, 200);
    auto* list = form.Make<TCheckListBox>(&form);
    list->SetBounds(0, 0, 200, 100);
    int notified = 0;
    list->OnClickCheck = [&](TObject*) { ++notified; };
    list->Add("Client");
    list->Add("Agent (server must be up)");
    list->Add("User Application");
    list->SetHeader(0, true);
    form.Show();
    HWND h = list->Handle();
    auto data = [&](int i) { return SendMessageA(h, LB_GETITEMDATA, static_cast<WPARAM>(i), 0); };

    EXPECT_EQ(SendMessageA(h, LB_GETITEMHEIGHT, 0, 0), 13);
    EXPECT_EQ((std::vector<LRESULT>{data(0), data(1), data(2)}), (std::vector<LRESULT>{2, 0, 0}));
    char text[64] = "";
    SendMessageA(h, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Agent (server must be up)");

    guitest::ClickListItem(h, 0);  // the header row
    EXPECT_EQ(data(0), 2);
    EXPECT_FALSE(list->Checked(0));
    guitest::ClickListItem(h, 2);
    EXPECT_TRUE(list->Checked(2));
    EXPECT_EQ(data(2), 1);
    guitest::ClickListItem(h, 2);
    EXPECT_FALSE(list->Checked(2));
    SendMessageA(h, LB_SETCURSEL, 1, 0);
    SendMessageA(h, WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_TRUE(list->Checked(1));
    SendMessageA(h, LB_SETCURSEL, 0, 0);
    SendMessageA(h, WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_TRUE(list->Header(0));
    EXPECT_EQ(notified, 3);

    // Inside a disabled window nothing changes, even by messages sent straight to it.
    auto* panel = form.Make<TPanel>(&form);
    panel->SetBounds(0, 100, 200, 80);
    auto* inner = form.Make<TCheckListBox>(panel);
    inner->SetBounds(0, 0, 200, 60);
    inner->Add("Service and Application");
    panel->SetEnabled(false);
    guitest::ClickListItem(inner->Handle(), 0);
    SendMessageA(inner->Handle(), LB_SETCURSEL, 0, 0);
    SendMessageA(inner->Handle(), WM_KEYDOWN, VK_SPACE, 1);
    EXPECT_FALSE(inner->Checked(0));
    panel->SetEnabled(true);
    guitest::ClickListItem(inner->Handle(), 0);
    EXPECT_TRUE(inner->Checked(0));
}

TEST(CheckList, ALineWiderThanTheListCanBeScrolledIntoView)
{
    TForm form("WideForm", "List", 300, 200);
    auto* list = form.Make<TCheckListBox>(&form);
    list->SetBounds(0, 0, 120, 100);
    form.Show();
    HWND h = list->Handle();
    list->Add("short");
    const LRESULT narrow = SendMessageA(h, LB_GETHORIZONTALEXTENT, 0, 0);
    EXPECT_LT(narrow, 120);
    list->Add("Please uninstall first, or contact your vendor for more information");
    EXPECT_GT(SendMessageA(h, LB_GETHORIZONTALEXTENT, 0, 0), 120);
    EXPECT_TRUE(GetWindowLongPtrA(h, GWL_STYLE) & WS_HSCROLL);
}

TEST(LabeledEdit, LabelStandsBesideOrAboveAndReportsClicks)
{
    TForm form("EditForm", "Edit", 400, 200);
    auto* left = form.Make<TLabeledEdit>(&form, "Destination Folder");
    left->SetBounds(120, 10, 200, 21);
    TLabel* label = left->EditLabel();
    EXPECT_EQ(label->Left() + label->Width() + 4, 120);
    EXPECT_EQ(label->Top() + label->Height() / 2, 10 + 21 / 2);
    auto* above = form.Make<TLabeledEdit>(&form, "TCP Port", TLabelPosition::lpAbove);
    above->SetBounds(10, 80, 80, 21);
    EXPECT_EQ(above->EditLabel()->Left(), 10);
    EXPECT_EQ(above->EditLabel()->Top() + above->EditLabel()->Height() + 4, 80);

    int labelClicks = 0;
    left->OnSubLabelClick = [&](TObject* sender) {
        EXPECT_EQ(sender, left);
        ++labelClicks;
    };
    form.Show();
    guitest::ClickAt(label->Handle(), 2, 2);
    EXPECT_EQ(labelClicks, 1);
    guitest::ClickAt(left->Handle(), 2, 2);  // the edit box itself
    EXPECT_EQ(labelClicks, 1);

    left->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
}

TEST(Cursor, GuardRestoresOnEveryWayOut)
{
    ASSERT_EQ(ScreenCursor(), TCursor::crDefault);
    try {
        TCursorGuard guard;
        EXPECT_EQ(ScreenCursor(), TCursor::crHourGlass);
        {
            TCursorGuard nested;
            nested.Restore();
            EXPECT_EQ(ScreenCursor(), TCursor::crHourGlass);  // what the outer one set
        }
        throw std::runtime_error("stop");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ScreenCursor(), TCursor::crDefault);
}

// An error in a handler is reported and goes no further than the handler.
TEST(Handlers, ErrorsAreReportedAndStopAtTheHandler)
{
    TForm form("ErrorForm", "Errors", 300, 200);
    auto* button = form.Make<TButton>(&form, "Go");
    button->SetBounds(10, 10, 75, 25);
    button->OnClick = [](TObject*) { throw std::runtime_error("the handler failed"); };
    Application().SetTitle("Install quorvane");
    form.Show();
    guitest::TBoxAnswerer answerer;
    SendMessageA(button->Handle(), BM_CLICK, 0, 0);
    button->Click();
    EXPECT_EQ(answerer.texts, (std::vector<std::string>{"the handler failed", "the handler failed"}));
    EXPECT_TRUE(IsWindow(form.Handle()));
}

TEST(Dialogs, LoginDialogReturnsWhatWasEntered)
{
    struct Case {
        const char* button;
        bool confirmed;
    };
    for (const Case& c : {Case{"OKButton", true}, Case{"CancelButton", false}}) {
        guitest::TBoxAnswerer answerer;
        std::string shownDatabase, passwordChar;
        answerer.Answer("LoginDialog", [&](HWND dialog) {
            char text[64] = "";
            GetWindowTextA(guitest::FindNamed(dialog, "DatabaseName"), text, sizeof text);
            shownDatabase = text;
            HWND password = guitest::FindNamed(dialog, "Password");
            passwordChar = std::string(1, static_cast<char>(SendMessageA(password, EM_GETPASSWORDCHAR, 0, 0)));
            SetWindowTextA(guitest::FindNamed(dialog, "UserName"), "sa");
            SetWindowTextA(password, "s3cret, with blanks");
            PostMessageA(guitest::FindNamed(dialog, c.button), BM_CLICK, 0, 0);
        });
        std::string user = "before", pass = "before";
        EXPECT_EQ(LoginDialog("MSSQL", user, pass), c.confirmed) << c.button;
        EXPECT_EQ(shownDatabase, "MSSQL");
        EXPECT_EQ(passwordChar, "*");
        EXPECT_EQ(user, c.confirmed ? "sa" : "before");
        EXPECT_EQ(pass, c.confirmed ? "s3cret, with blanks" : "before");
    }
}

TEST(Dialogs, FolderBrowserStartsAtTheInitialFolder)
{
    OleInitialize(nullptr);
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);  // a folder that exists on the system drive
    struct Case {
        UINT command;
        bool confirmed;
    };
    for (const Case& c : {Case{IDOK, true}, Case{IDCANCEL, false}}) {
        guitest::TBoxAnswerer answerer;
        answerer.Answer("SelectDirectory", [&](HWND dialog) { PostMessageA(dialog, WM_COMMAND, c.command, 0); });
        std::string folder = "unchanged";
        EXPECT_EQ(SelectDirectory(nullptr, "Select Destination Folder", std::string(windows, 2) + "\\", windows, folder),
                  c.confirmed);
        EXPECT_EQ(answerer.seen, std::vector<std::string>{"SelectDirectory"});
        EXPECT_EQ(folder, c.confirmed ? std::string(windows) : "unchanged");
    }
    OleUninitialize();
}
