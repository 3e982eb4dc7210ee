// TFmMain: the window's layout and the default settings.
#include "uFmMain.h"

#include <algorithm>

#include "platform/net/host.h"

namespace {

constexpr int kStageHeight = 104;
constexpr int kHeaderHeight = 17;
constexpr int kEditHeight = 21;
constexpr int kLabelGap = 4;

ui::TFontSpec StageFont()
{
    ui::TFontSpec font;
    font.Bold = true;
    return font;
}

}  // namespace

TFmMain::TFmMain() : TForm("FmMain", "quorvane Setup", 640, 452)
{
    BuildButtonBar();

    pnSep = Make<ui::TPanel>(this);
    pnSep->SetName("pnSep");
    pnSep->SetBevelOuter(ui::TBevel::bvNone);
    pnSep->SetHeight(3);
    pnSep->SetAlign(ui::TAlign::alBottom);

    pn = Make<ui::TPanel>(this);
    pn->SetName("pn");
    pn->SetBevelOuter(ui::TBevel::bvNone);
    pn->SetBorderWidth(2);
    pn->SetFont(StageFont());
    pn->SetAlign(ui::TAlign::alClient);

    BuildSelectionStage();
    BuildConnectionStage();
    BuildDatabaseStage();
    BuildFinalStage();

    auto action = [this](const char* name, void (TFmMain::*handler)(ui::TObject*)) {
        auto* a = Make<ui::TAction>(name);
        a->OnExecute = [this, handler](ui::TObject* sender) { (this->*handler)(sender); };
        return a;
    };
    amSel = action("amSel", &TFmMain::amSelExecute);
    amConn = action("amConn", &TFmMain::amConnExecute);
    amDb = action("amDb", &TFmMain::amDbExecute);
    NoAction = action("NoAction", &TFmMain::NoActionExecute);
    amFin = action("amFin", &TFmMain::amFinExecute);

    // As designed: stage 1 open, the others pending and closed.
    StageActive(pnSel, lbSel);
    StagePending(pnConn, lbConn);
    StagePending(pnDb, lbDb);
    StagePending(pnFin, lbFin);
    bnBack->SetEnabled(false);
    PointAt(bnNext, &TFmMain::amConnExecute);

    // The keyboard goes through the stages first, then to the buttons.
    SetWindowPos(pnBn->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetActiveControl(clbSelS);

    SetDefaults();
}

void TFmMain::SetDefaults()
{
    const std::string hostName = net::LocalHostName();
    FHost = net::HostAddress(hostName);
    FServer = "1991";
    FClient = "1881";
    FLocal = "1771";
    FData = "1661";
    FDbHost = hostName;
    FDbName = "zpprf";
    FDbUser = "ontzuq";
    FDbPass = "tovendu";
}

void TFmMain::BuildButtonBar()
{
    pnBn = Make<ui::TButtonBar>(this);
    pnBn->SetName("pnBn");
    bnCancel = pnBn->AddButton("bnCancel", "Cancel");
    bnCancel->SetCancel(true);
    bnCancel->SetModalResult(ui::mrCancel);
    bnBack = pnBn->AddButton("bnBack", "Back");
    bnNext = pnBn->AddButton("bnNext", "Next");
    bnNext->SetDefault(true);
}

ui::TPanel* TFmMain::BuildStage(ui::TControl* parent, const char* name, const char* number, ui::TLabel*& numberLabel,
                                ui::TPanel*& content, ui::TStaticText*& header, const char* headerText)
{
    auto* stage = Make<ui::TPanel>(parent);
    stage->SetName(name);
    stage->SetBevelWidth(2);
    stage->SetBorderWidth(1);
    stage->SetHeight(kStageHeight);

    const std::string stem = std::string(name).substr(2);  // "Sel", "Conn", ...
    numberLabel = Make<ui::TLabel>(stage, number);
    numberLabel->SetName("lb" + stem);
    numberLabel->SetAutoSize(false);
    numberLabel->SetCentered(true);
    ui::TFontSpec big;
    big.Name = "Arial";
    big.Height = -43;
    numberLabel->SetFont(big);
    numberLabel->SetWidth(98);
    numberLabel->SetAlign(ui::TAlign::alLeft);

    content = Make<ui::TPanel>(stage);
    content->SetName("pnc" + stem);
    content->SetBevelOuter(ui::TBevel::bvNone);
    content->SetParentColor(true);
    content->SetAlign(ui::TAlign::alClient);

    header = Make<ui::TStaticText>(content, headerText);
    header->SetName("st" + stem);
    header->SetHeight(kHeaderHeight);
    header->SetAlign(ui::TAlign::alTop);
    return stage;
}

namespace {

// Labelled edits in a column: the labels stand left of the edits, which line
// up at one x behind the widest label.
void Column(std::initializer_list<ui::TLabeledEdit*> edits, int labelLeft, int top, int width, int rowStep)
{
    int widest = 0;
    for (auto* e : edits) widest = std::max(widest, e->EditLabel()->Width());
    int y = top;
    for (auto* e : edits) {
        e->SetBounds(labelLeft + widest + kLabelGap, y, width, kEditHeight);
        y += rowStep;
    }
}

}  // namespace

void TFmMain::BuildSelectionStage()
{
    pnSel = BuildStage(pn, "pnSel", "1", lbSel, pncSel, stSel, "Select Installation...");
    pnSel->SetAlign(ui::TAlign::alTop);

    clbSelS = Make<ui::TCheckListBox>(pncSel, false);
    clbSelS->SetName("clbSelS");
    clbSelS->Add("Server");
    clbSelS->Add("Service and Application");
    clbSelS->SetHeader(0, true);
    clbSelS->SetWidth(224);
    clbSelS->SetAlign(ui::TAlign::alLeft);

    clbSelC = Make<ui::TCheckListBox>(pncSel, false);
    clbSelC->SetName("clbSelC");
    clbSelC->Add("Client");
    clbSelC->Add("Agent (server must be up)");
    clbSelC->Add("User Application");
    clbSelC->SetHeader(0, true);
    clbSelC->SetAlign(ui::TAlign::alClient);

    // Created after the lists, so that the keyboard reaches it after them.
    pnFolder = Make<ui::TPanel>(pncSel);
    pnFolder->SetName("pnFolder");
    pnFolder->SetBevelOuter(ui::TBevel::bvNone);
    pnFolder->SetParentColor(true);
    pnFolder->SetHeight(27);
    pnFolder->SetAlign(ui::TAlign::alBottom);
    leFolder = Make<ui::TLabeledEdit>(pnFolder, "Destination Folder");
    leFolder->SetName("leFolder");
    leFolder->SetBounds(4 + leFolder->EditLabel()->Width() + kLabelGap, 3, 310, kEditHeight);
    leFolder->OnSubLabelClick = [this](ui::TObject* sender) { leFolderSubLabelClick(sender); };
}

void TFmMain::BuildConnectionStage()
{
    pnConn = BuildStage(pn, "pnConn", "2", lbConn, pncConn, stConn, "Connection Configuration...");
    pnConn->SetAlign(ui::TAlign::alTop);

    auto box = [this](const char* name, const char* caption, ui::TStaticText*& header, int width, ui::TAlign align) {
        auto* p = Make<ui::TPanel>(pncConn);
        p->SetName(name);
        p->SetBevelOuter(ui::TBevel::bvNone);
        p->SetParentColor(true);
        p->SetWidth(width);
        p->SetAlign(align);
        header = Make<ui::TStaticText>(p, caption);
        header->SetName(std::string("st") + (name + 2));
        header->SetHeight(kHeaderHeight);
        header->SetAlign(ui::TAlign::alTop);
        return p;
    };
    // Created from the right: Data Service outermost, then Client, then Server.
    pnData = box("pnData", "Data Service", stData, 86, ui::TAlign::alRight);
    pnClient = box("pnClient", "Client", stClient, 182, ui::TAlign::alRight);
    pnServer = box("pnServer", "Server", stServer, 0, ui::TAlign::alClient);

    const int rowTop = kHeaderHeight + 3, rowStep = kEditHeight + 3;
    leHost = Make<ui::TLabeledEdit>(pnServer, "IP");
    leHost->SetName("leHost");
    leServer = Make<ui::TLabeledEdit>(pnServer, "TCP Port");
    leServer->SetName("leServer");
    Column({leHost, leServer}, 6, rowTop, 113, rowStep);
    leServer->SetWidth(80);

    leClient = Make<ui::TLabeledEdit>(pnClient, "UDP Port");
    leClient->SetName("leClient");
    leLocal = Make<ui::TLabeledEdit>(pnClient, "Local TCP Port");
    leLocal->SetName("leLocal");
    Column({leClient, leLocal}, 6, rowTop, 80, rowStep);

    leData = Make<ui::TLabeledEdit>(pnData, "TCP Port", ui::TLabelPosition::lpAbove);
    leData->SetName("leData");
    leData->SetBounds(3, rowTop + leData->EditLabel()->Height() + kLabelGap, 80, kEditHeight);
}

void TFmMain::BuildDatabaseStage()
{
    pnDb = BuildStage(pn, "pnDb", "3", lbDb, pncDb, stDb, "Database Configuration...");
    pnDb->SetAlign(ui::TAlign::alTop);

    const int checkTop = kHeaderHeight + 3;
    cbCreate = Make<ui::TCheckBox>(pncDb, "Create Database and User - login required");
    cbCreate->SetName("cbCreate");
    cbCreate->SetBounds(6, checkTop, 280, 17);
    cbCreate->SetChecked(true);
    cbScript = Make<ui::TCheckBox>(pncDb, "Create SQL script file (setup.sql)");
    cbScript->SetName("cbScript");
    cbScript->SetBounds(296, checkTop, 226, 17);

    const int rowTop = checkTop + 17 + 4, rowStep = kEditHeight + 4;
    leDbHost = Make<ui::TLabeledEdit>(pncDb, "Database Server");
    leDbHost->SetName("leDbHost");
    leDbName = Make<ui::TLabeledEdit>(pncDb, "Database Name");
    leDbName->SetName("leDbName");
    Column({leDbHost, leDbName}, 6, rowTop, 169, rowStep);

    leDbUser = Make<ui::TLabeledEdit>(pncDb, "Username");
    leDbUser->SetName("leDbUser");
    leDbPass = Make<ui::TLabeledEdit>(pncDb, "Password");
    leDbPass->SetName("leDbPass");
    leDbPass->SetPasswordChar('*');
    Column({leDbUser, leDbPass}, leDbHost->Left() + 169 + 16, rowTop, 121, rowStep);
}

void TFmMain::BuildFinalStage()
{
    pnFin = BuildStage(pn, "pnFin", "4", lbFin, pncFin, stFin, "Finalization");
    pnFin->SetAlign(ui::TAlign::alClient);

    lbFinText = Make<ui::TLabel>(pncFin);
    lbFinText->SetName("lbFinText");
    lbFinText->SetWordWrap(true);
    lbFinText->SetAlign(ui::TAlign::alClient);
}
