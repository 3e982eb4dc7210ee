// The wizard window: defaults, stage looks, the stage-1 check, the enabling
// of the stage-2 fields and the re-pointing of Next and Back.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <memory>
#include <thread>

#include "gui_helpers.h"
#include "platform/ui/forms.h"
#include "platform/net/host.h"
#include "protocol/install_query.h"
#include "platform/net/socket.h"
#include "platform/rtl/handles.h"
#include "programs/msvc/install_server.h"
#include "wizard/uFmMain.h"

namespace {

enum class Look { Pending, Active, Done };

class Wizard : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::Application().SetTitle("Install quorvane");
        fm = std::make_unique<TFmMain>();
        fm->Show();
    }

    Look LookOf(ui::TPanel* panel, ui::TLabel* number)
    {
        if (panel->Enabled()) {
            EXPECT_EQ(panel->BevelOuter(), ui::TBevel::bvRaised);
            EXPECT_EQ(number->Color(), ui::clActiveCaption);
            EXPECT_EQ(number->FontColor(), ui::clCaptionText);
            return Look::Active;
        }
        if (panel->BevelOuter() == ui::TBevel::bvLowered) {
            EXPECT_EQ(panel->FontColor(), ui::clGrayText);
            EXPECT_EQ(number->FontColor(), ui::clGrayText);
            return Look::Pending;
        }
        EXPECT_EQ(panel->BevelOuter(), ui::TBevel::bvNone);
        EXPECT_EQ(panel->FontColor(), ui::clWindowText);
        EXPECT_EQ(number->FontColor(), ui::clWindowText);
        return Look::Done;
    }
    std::vector<Look> Looks()
    {
        return {LookOf(fm->pnSel, fm->lbSel), LookOf(fm->pnConn, fm->lbConn), LookOf(fm->pnDb, fm->lbDb),
                LookOf(fm->pnFin, fm->lbFin)};
    }
    static std::vector<Look> Stage(int n)
    {
        std::vector<Look> looks(4, Look::Pending);
        for (int i = 0; i < n - 1; ++i) looks[static_cast<std::size_t>(i)] = Look::Done;
        looks[static_cast<std::size_t>(n - 1)] = Look::Active;
        return looks;
    }

    void Tick(ui::TCheckListBox* list, int index) { guitest::ClickListItem(list->Handle(), index); }
    void Press(ui::TButton* button) { SendMessageA(button->Handle(), BM_CLICK, 0, 0); }

    std::unique_ptr<TFmMain> fm;
};

}  // namespace

TEST_F(Wizard, StartsOnStageOneWithTheDefaults)
{
    EXPECT_EQ(Looks(), Stage(1));
    EXPECT_FALSE(fm->bnBack->Enabled());
    EXPECT_EQ(fm->bnNext->Text(), "Next");
    EXPECT_EQ(fm->Text(), "quorvane Setup");
    EXPECT_EQ(fm->FHost, net::HostAddress(net::LocalHostName()));
    EXPECT_EQ(fm->FDbHost, net::LocalHostName());
    EXPECT_EQ((std::vector<std::string>{fm->FServer, fm->FClient, fm->FLocal, fm->FData, fm->FDbName, fm->FDbUser,
                                        fm->FDbPass}),
              (std::vector<std::string>{"1991", "1881", "1771", "1661", "zpprf", "ontzuq", "tovendu"}));
    char programFiles[MAX_PATH] = "";
    GetEnvironmentVariableA("ProgramFiles", programFiles, MAX_PATH);
    EXPECT_EQ(fm->leFolder->Text(), std::string(programFiles) + "\\Bsk\\quorvane");
    EXPECT_TRUE(fm->cbCreate->Checked());
    EXPECT_FALSE(fm->cbScript->Checked());
    EXPECT_TRUE(fm->clbSelS->Header(0));
    EXPECT_TRUE(fm->clbSelC->Header(0));
    EXPECT_EQ(fm->Width(), 640);
    EXPECT_EQ(fm->Height(), 452);
    EXPECT_EQ(fm->pnSel->Height(), 104);
}

TEST_F(Wizard, IncompleteStageOneSaysNoSelectionAndStays)
{
    guitest::TBoxAnswerer answerer;
    Press(fm->bnNext);  // nothing ticked
    Tick(fm->clbSelS, 0);
    Tick(fm->clbSelC, 0);
    Press(fm->bnNext);  // only the header rows clicked
    Tick(fm->clbSelC, 2);
    fm->leFolder->SetText("");
    Press(fm->bnNext);  // no folder
    EXPECT_EQ(answerer.texts, (std::vector<std::string>(3, "No selection")));
    EXPECT_EQ(Looks(), Stage(1));
    EXPECT_FALSE(fm->bnBack->Enabled());
    EXPECT_TRUE(fm->clbSelC->Checked(2));
}

TEST_F(Wizard, StageTwoEnablesAndFillsTheFieldsTheChoiceNeeds)
{
    struct Case {
        std::vector<std::pair<int, int>> ticks;  // (list 0 = server / 1 = client, item)
        std::vector<std::string> texts;          // IP, TCP port, UDP port, local port, data port; "-" disabled
    };
    const std::string host = net::HostAddress(net::LocalHostName());
    const Case cases[] = {
        {{{0, 1}}, {host, "1991", "1881", "1771", "1661"}},
        {{{0, 1}, {1, 1}, {1, 2}}, {host, "1991", "1881", "1771", "1661"}},
        {{{1, 1}}, {host, "1991", "-", "-", "-"}},
        {{{1, 1}, {1, 2}}, {host, "1991", "-", "-", "-"}},
        {{{1, 2}}, {"-", "-", "-", "-", "1661"}},
    };
    for (const Case& c : cases) {
        SetUp();
        for (auto [list, item] : c.ticks) Tick(list == 0 ? fm->clbSelS : fm->clbSelC, item);
        Press(fm->bnNext);
        ASSERT_EQ(Looks(), Stage(2));
        std::vector<std::string> texts;
        for (ui::TLabeledEdit* e : {fm->leHost, fm->leServer, fm->leClient, fm->leLocal, fm->leData}) {
            if (!e->Enabled()) {
                EXPECT_EQ(e->Text(), "");
            }
            texts.push_back(e->Enabled() ? e->Text() : "-");
        }
        EXPECT_EQ(texts, c.texts);
    }
}

TEST_F(Wizard, BackFromStageTwoKeepsTheChoices)
{
    Tick(fm->clbSelC, 1);
    fm->leFolder->SetText("D:\\Apps");
    Press(fm->bnNext);
    ASSERT_EQ(Looks(), Stage(2));
    EXPECT_TRUE(fm->bnBack->Enabled());
    fm->leServer->SetText("2000");  // typed, never accepted
    Press(fm->bnBack);
    EXPECT_EQ(Looks(), Stage(1));
    EXPECT_FALSE(fm->bnBack->Enabled());
    EXPECT_TRUE(fm->clbSelC->Checked(1));
    EXPECT_EQ(fm->leFolder->Text(), "D:\\Apps");
    Press(fm->bnNext);
    EXPECT_EQ(Looks(), Stage(2));
    EXPECT_EQ(fm->leServer->Text(), "1991");  // the stored setting again
}

TEST_F(Wizard, ClientOnlyGoesFromStageTwoToStageFourAndBack)
{
    Tick(fm->clbSelC, 2);
    Press(fm->bnNext);
    Press(fm->bnNext);
    EXPECT_EQ(Looks(), Stage(4));
    EXPECT_EQ(fm->bnNext->Text(), "Install");
    EXPECT_EQ(fm->lbFinText->Text(),
              "Final check, please verify your setting before begin installation.\r\nClick Install to begin...");
    // Without the server the stored database settings are the (empty) edits.
    EXPECT_EQ(fm->FDbHost, "");
    Press(fm->bnBack);
    EXPECT_EQ(Looks(), Stage(2));
    EXPECT_EQ(fm->bnNext->Text(), "Next");
}

TEST_F(Wizard, ServerPathThroughStageThree)
{
    guitest::TBoxAnswerer answerer;
    // A confirmed login connects; that is left to the end-to-end tests with a server.
    answerer.Answer("LoginDialog", [&](HWND dialog) {
        PostMessageA(guitest::FindNamed(dialog, "CancelButton"), BM_CLICK, 0, 0);
    });
    Tick(fm->clbSelS, 1);
    Press(fm->bnNext);
    Press(fm->bnNext);
    ASSERT_EQ(Looks(), Stage(3));
    EXPECT_EQ(fm->leDbHost->Text(), fm->FDbHost);
    EXPECT_EQ(fm->leDbName->Text(), "zpprf");
    EXPECT_EQ(fm->leDbUser->Text(), "ontzuq");
    EXPECT_EQ(fm->leDbPass->Text(), "tovendu");

    Press(fm->bnNext);  // login dialog cancelled: stays
    EXPECT_EQ(answerer.seen, std::vector<std::string>{"LoginDialog"});
    EXPECT_EQ(Looks(), Stage(3));

    fm->leDbName->SetText("");
    Press(fm->bnNext);  // an empty database edit: said, no login asked
    EXPECT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.texts, std::vector<std::string>{"Database Name must not be empty."});
    EXPECT_EQ(Looks(), Stage(3));
    EXPECT_EQ(fm->FDbName, "zpprf");

    fm->leDbName->SetText("inventory");
    fm->cbCreate->SetChecked(false);
    Press(fm->bnNext);  // no creation: a warning, no login, stage 4
    EXPECT_EQ(answerer.texts,
              (std::vector<std::string>{"Database Name must not be empty.", "Warning : database might not exist!"}));
    EXPECT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(Looks(), Stage(4));
    EXPECT_EQ(fm->FDbName, "inventory");

    Press(fm->bnBack);  // back to stage 3 through the stage-2 opener
    EXPECT_EQ(Looks(), Stage(3));
    EXPECT_EQ(fm->leDbName->Text(), "inventory");  // refilled from the stored settings
    EXPECT_EQ(fm->bnNext->Text(), "Next");
    Press(fm->bnBack);  // stage 3 back to stage 2
    EXPECT_EQ(Looks(), Stage(2));
}

TEST_F(Wizard, CancelEndsTheWizardWithCancel)
{
    fm->Hide();
    fm->OnShow = [this](ui::TObject*) { PostMessageA(fm->bnCancel->Handle(), BM_CLICK, 0, 0); };
    EXPECT_EQ(fm->ShowModal(), ui::mrCancel);
}

namespace {

// A port of the loopback address that nobody held a moment ago.
int FreePort()
{
    const net::WinsockSession session = net::StartWinsock();
    const net::Socket s = net::Listen("127.0.0.1", 0);
    return net::LocalPort(s.get());
}

// Another program holding a port of the loopback address.
struct THeldPort {
    THeldPort() : session(net::StartWinsock()), socket(net::Listen("127.0.0.1", 0)), port(net::LocalPort(socket.get())) {}
    net::WinsockSession session;
    net::Socket socket;
    int port;
    std::string Text() const { return std::to_string(port); }
};

}  // namespace

TEST_F(Wizard, ServerProbeStoresTheTypedTextsOnlyOnceItPasses)
{
    guitest::TBoxAnswerer answerer;
    Tick(fm->clbSelS, 1);
    Press(fm->bnNext);
    const std::string server = std::to_string(FreePort()), local = std::to_string(FreePort()),
                      data = std::to_string(FreePort());
    auto held = std::make_unique<THeldPort>();
    fm->leHost->SetText("127.0.0.1");
    fm->leServer->SetText("0" + server);
    fm->leClient->SetText(held->Text());
    fm->leLocal->SetText(local);
    fm->leData->SetText(data);
    Press(fm->bnNext);
    EXPECT_EQ(answerer.texts, std::vector<std::string>{"Could not bind socket. Address and port are already in use."});
    EXPECT_EQ(Looks(), Stage(2));
    EXPECT_EQ(fm->leClient->Text(), held->Text());  // not corrected or cleared
    EXPECT_EQ((std::vector<std::string>{fm->FServer, fm->FClient, fm->FLocal, fm->FData}),
              (std::vector<std::string>{"1991", "1881", "1771", "1661"}));

    const std::string client = held->Text();
    held.reset();
    Press(fm->bnNext);
    EXPECT_EQ(answerer.texts.size(), 1u);
    EXPECT_EQ(Looks(), Stage(3));
    EXPECT_EQ((std::vector<std::string>{fm->FHost, fm->FServer, fm->FClient, fm->FLocal, fm->FData}),
              (std::vector<std::string>{"127.0.0.1", "0" + server, client, local, data}));
}

TEST_F(Wizard, AgentStoresWhatTheServerReportsNotWhatWasTyped)
{
    proto::TInstallSettings reported;
    reported.Host = "10.1.2.3";
    reported.Server = "4242";
    reported.Client = "4141";
    reported.Data = "4040";
    TInstallServer server(reported, FreePort());
    rtl::KernelHandle stop(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::thread serving([&] { server.Serve(stop.get()); });

    Tick(fm->clbSelC, 1);
    Press(fm->bnNext);
    fm->leHost->SetText("127.0.0.1");
    fm->leServer->SetText(std::to_string(server.Port()));
    Press(fm->bnNext);
    SetEvent(stop.get());
    serving.join();
    EXPECT_EQ(Looks(), Stage(4));
    // The server reports no local port: the setting becomes empty.
    EXPECT_EQ((std::vector<std::string>{fm->FHost, fm->FServer, fm->FClient, fm->FLocal, fm->FData}),
              (std::vector<std::string>{"10.1.2.3", "4242", "4141", "", "4040"}));
}

TEST_F(Wizard, AgentWithoutAServerStaysWithNothingStored)
{
    guitest::TBoxAnswerer answerer;
    Tick(fm->clbSelC, 1);
    Press(fm->bnNext);
    fm->leHost->SetText("127.0.0.1");
    fm->leServer->SetText(std::to_string(FreePort()));
    Press(fm->bnNext);
    ASSERT_EQ(answerer.texts.size(), 1u);
    EXPECT_EQ(answerer.texts[0].rfind("Socket Error # 10061", 0), 0u) << answerer.texts[0];
    EXPECT_EQ(Looks(), Stage(2));
    EXPECT_EQ(fm->FHost, net::HostAddress(net::LocalHostName()));
    EXPECT_EQ(fm->FServer, "1991");
}

TEST_F(Wizard, UserApplicationProbesOnlyTheDataPortOnTheLoopback)
{
    guitest::TBoxAnswerer answerer;
    Tick(fm->clbSelC, 2);
    Press(fm->bnNext);
    auto held = std::make_unique<THeldPort>();
    const std::string data = held->Text();
    fm->leData->SetText(data);
    Press(fm->bnNext);
    EXPECT_EQ(answerer.texts, std::vector<std::string>{"Could not bind socket. Address and port are already in use."});
    EXPECT_EQ(Looks(), Stage(2));
    EXPECT_EQ(fm->FData, "1661");

    held.reset();
    Press(fm->bnNext);
    EXPECT_EQ(Looks(), Stage(4));
    EXPECT_EQ((std::vector<std::string>{fm->FHost, fm->FServer, fm->FClient, fm->FLocal, fm->FData}),
              (std::vector<std::string>{net::HostAddress(net::LocalHostName()), "1991", "1881", "1771", data}));
}

namespace {

std::string EnvironmentText(const char* name)
{
    char value[MAX_PATH] = "";
    const DWORD n = GetEnvironmentVariableA(name, value, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(value, n) : std::string();
}

std::string TreeItemText(HWND tree, HTREEITEM item)
{
    char text[MAX_PATH] = "";
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

// What the folder browser shows when it opens.
struct TBrowserLook {
    bool disabledBehind = false;  // the wizard takes no input meanwhile
    bool titleShown = false;      // "Select Destination Folder" above the tree
    HWND owner = nullptr;
    int rootItems = 0;            // items at the top of the tree
    std::string root;
    std::string selected;
    bool selectedBelowRoot = false;
};

BOOL CALLBACK FindTitle(HWND hwnd, LPARAM param)
{
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    if (std::string(text) == "Select Destination Folder") *reinterpret_cast<bool*>(param) = true;
    return TRUE;
}

TBrowserLook Look(HWND dialog, HWND wizard)
{
    TBrowserLook look;
    look.disabledBehind = !IsWindowEnabled(wizard);
    EnumChildWindows(dialog, FindTitle, reinterpret_cast<LPARAM>(&look.titleShown));
    look.owner = GetWindow(dialog, GW_OWNER);
    const HWND tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
    if (tree == nullptr) return look;
    const auto next = [tree](HTREEITEM item, UINT how) {
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    };
    const HTREEITEM root = next(nullptr, TVGN_ROOT);
    for (HTREEITEM item = root; item != nullptr && look.rootItems < 100; item = next(item, TVGN_NEXT)) ++look.rootItems;
    look.root = TreeItemText(tree, root);
    const HTREEITEM selected = next(nullptr, TVGN_CARET);
    look.selected = TreeItemText(tree, selected);
    look.selectedBelowRoot = selected != nullptr && next(selected, TVGN_PARENT) == root;
    return look;
}

}  // namespace

// The label "Destination Folder" opens the shell's folder browser: titled,
// rooted at the system drive, Program Files selected whatever the edit holds.
// OK puts exactly the chosen path into leFolder; Cancel changes nothing.
TEST_F(Wizard, FolderBrowserFromTheLabelSetsExactlyTheChosenFolder)
{
    const std::string programFiles = EnvironmentText("ProgramFiles");
    const std::string systemDrive = EnvironmentText("SystemDrive");
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    ui::TLabel* label = fm->leFolder->EditLabel();
    ASSERT_EQ(label->Text(), "Destination Folder");

    // On a Wine prefix's very first folder dialog the preselection is not
    // applied (seen on the 32-bit Wine; the second and later dialogs honour
    // it): open and cancel one first, so that what is checked is ours.
    {
        guitest::TBoxAnswerer first;
        first.Answer("SelectDirectory", [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
        guitest::ClickAt(label->Handle(), 2, 2);
    }

    struct Case {
        const char* what;
        std::string choose;  // empty: the preselection stands
        WPARAM button;
        std::string expected;
    };
    const Case cases[] = {
        {"OK on the preselection", "", IDOK, programFiles},  // no "\Bsk\quorvane" added
        {"another folder chosen", windows, IDOK, windows},
        {"Cancel after choosing", windows, IDCANCEL, "D:\\typed\\folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fm->leFolder->SetText("D:\\typed\\folder");
        TBrowserLook look;
        guitest::TBoxAnswerer answerer;
        answerer.Answer("SelectDirectory", [&](HWND dialog) {
            look = Look(dialog, fm->Handle());
            if (!c.choose.empty())
                SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(c.choose.c_str()));
            PostMessageA(dialog, WM_COMMAND, c.button, 0);
        });
        guitest::ClickAt(label->Handle(), 2, 2);  // returns when the dialog has closed
        ASSERT_EQ(answerer.seen, std::vector<std::string>{"SelectDirectory"});
        EXPECT_TRUE(answerer.texts.empty());  // no message on the way
        EXPECT_EQ(fm->leFolder->Text(), c.expected);
        EXPECT_TRUE(look.disabledBehind);
        EXPECT_TRUE(IsWindowEnabled(fm->Handle()));  // and usable again afterwards
        EXPECT_TRUE(look.titleShown);
        EXPECT_EQ(look.owner, ui::Application().Handle());
        EXPECT_EQ(look.rootItems, 1);
        EXPECT_NE(look.root.find(systemDrive), std::string::npos) << look.root;
        EXPECT_EQ(look.selected, programFiles.substr(programFiles.find_last_of('\\') + 1));
        EXPECT_TRUE(look.selectedBelowRoot);
    }
}
