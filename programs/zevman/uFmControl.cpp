#include "uFmControl.h"

#include <algorithm>
#include <optional>

#include "platform/rtl/module.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/cursor.h"
#include "platform/ui/dialogs.h"
#include "programs/common/component_record.h"
#include "programs/common/components.h"
#include "programs/common/record_ports.h"
#include "protocol/request_client.h"
#include "rci_file.h"
#include "server_settings.h"

namespace {

constexpr int kStateHeight = 48;  // three lines

// A state of up to three lines above a list, as wide as the section.
ui::TPanel* StateHolder(ui::TForm* form, ui::TPanel* section, const std::string& name)
{
    auto* holder = form->Make<ui::TPanel>(section);
    holder->SetName("pn" + name);
    holder->SetBevelOuter(ui::TBevel::bvNone);
    holder->SetHeight(kStateHeight);
    holder->SetAlign(ui::TAlign::alTop);
    return holder;
}

}  // namespace

TFmControl::TFmControl() : TAppForm("FmControl", "quorvane Enterprise Ridir Control")
{
    pnSettings = MakeSection(this, "Settings", "Server Settings");
    pnSettings->SetHeight(148);
    pnSettings->SetAlign(ui::TAlign::alTop);
    lbSettings = Make<ui::TListBox>(pnSettings);
    lbSettings->SetName("lbSettings");
    lbSettings->SetAlign(ui::TAlign::alClient);

    pnReporters = MakeSection(this, "Reporters", "Computers That Reported");
    pnReporters->SetWidth(300);
    pnReporters->SetAlign(ui::TAlign::alLeft);
    lbReportersState = MakeNote(StateHolder(this, pnReporters, "ReportersStateHolder"), "ReportersState", 3, 3, 3);
    lbReporters = Make<ui::TListBox>(pnReporters);
    lbReporters->SetName("lbReporters");
    lbReporters->SetAlign(ui::TAlign::alClient);

    pnRci = MakeSection(this, "Rci", "Client Programs in rci.dat");
    pnRci->SetAlign(ui::TAlign::alClient);
    lbRciState = MakeNote(StateHolder(this, pnRci, "RciStateHolder"), "RciState", 3, 3, 3);
    auto* pnExport = Make<ui::TPanel>(pnRci);
    pnExport->SetName("pnExport");
    pnExport->SetBevelOuter(ui::TBevel::bvNone);
    pnExport->SetHeight(29);
    pnExport->SetAlign(ui::TAlign::alBottom);
    leExport = Make<ui::TLabeledEdit>(pnExport, "Export Folder");
    leExport->SetName("leExport");
    const int editLeft = 3 + leExport->EditLabel()->Width() + 4;
    bnExport = Make<ui::TButton>(pnExport, "Export");
    bnExport->SetName("bnExport");
    bnExport->SetBounds(pnExport->ClientWidth() - 2 - 75, 2, 75, 25);
    bnExport->SetAnchors(ui::akRight | ui::akTop);
    bnExport->OnClick = [this](ui::TObject* sender) { bnExportClick(sender); };
    leExport->SetBounds(editLeft, 4, bnExport->Left() - 5 - editLeft, 21);
    leExport->SetAnchors(ui::akLeft | ui::akTop | ui::akRight);
    leExport->OnSubLabelClick = [this](ui::TObject* sender) { leExportSubLabelClick(sender); };
    lbRci = Make<ui::TListBox>(pnRci);
    lbRci->SetName("lbRci");
    lbRci->SetAlign(ui::TAlign::alClient);

    SetActiveControl(leExport);
}

std::string TFmControl::RciPath() const
{
    return rtl::FolderOf(rtl::ModulePath()) + "\\rci.dat";
}

void TFmControl::Load()
{
    ui::TCursorGuard cursor;
    const std::optional<rtl::TStringList> record = LoadSettings();
    LoadRci();
    Repaint();
    LoadReporters(record ? &*record : nullptr);
}

std::optional<rtl::TStringList> TFmControl::LoadSettings()
{
    lbSettings->Clear();
    try {
        rtl::TStringList record = svc::ReadComponentRecord(svc::ServerAppGuid);
        for (const std::string& line : zevman::ServerSettingLines(record)) lbSettings->Add(line);
        return record;
    } catch (const rtl::Exception& e) {
        lbSettings->Add("The server application's settings cannot be read:");
        lbSettings->Add(apps::OneLine(e.Message()));
        return std::nullopt;
    }
}

void TFmControl::LoadReporters(const rtl::TStringList* record)
{
    lbReporters->Clear();
    lbReportersState->SetText("Asking the server...");
    lbReportersState->Repaint();
    if (record == nullptr) {
        lbReportersState->SetText("The server's port is not known: its settings were not found.");
        return;
    }
    int port = 0;
    try {
        port = svc::RecordPort(*record, "Server");
    } catch (const rtl::Exception& e) {
        lbReportersState->SetText(apps::OneLine(e.Message()));
        return;
    }
    // The server service runs on this computer and always listens on loopback
    // too, whatever address its record names.
    const std::string host = "127.0.0.1";
    const std::string where = host + ", port " + std::to_string(port);
    try {
        std::vector<proto::TReporter> reporters = proto::RequestReporters({host, port});
        std::sort(reporters.begin(), reporters.end(), [](const proto::TReporter& a, const proto::TReporter& b) {
            return rtl::UpperCase(a.Computer) < rtl::UpperCase(b.Computer);
        });
        for (const proto::TReporter& r : reporters) lbReporters->Add(r.Computer + "  last report " + r.Time + " UTC");
        const std::string count = reporters.size() == 1 ? "1 computer" : std::to_string(reporters.size()) + " computers";
        lbReportersState->SetText(reporters.empty() ? "No computer has reported to the server (" + where + ") yet."
                                                    : count + " reported to the server (" + where + ").");
    } catch (const std::exception& e) {
        lbReportersState->SetText(apps::OneLine("The server (" + where + ") did not answer: " + e.what()));
    }
}

void TFmControl::LoadRci()
{
    lbRci->Clear();
    rciSound_ = false;
    try {
        const rci::TLayout layout = rci::ReadFileLayout(RciPath());
        for (const rci::TEntry& entry : layout.Entries) lbRci->Add(rci::DescribeEntry(entry));
        rciSound_ = layout.Sound;
        lbRciState->SetText(layout.Sound ? "rci.dat is sound: " + std::to_string(layout.FileSize) + " bytes."
                                         : "rci.dat is damaged and is not used: " + layout.Problem + ".");
    } catch (const rtl::Exception& e) {
        lbRciState->SetText(apps::OneLine("rci.dat is not usable: " + e.Message()));
    }
    bnExport->SetEnabled(rciSound_);
    leExport->SetEnabled(rciSound_);
}

void TFmControl::leExportSubLabelClick(ui::TObject* /*sender*/)
{
    std::string folder;
    if (ui::SelectDirectory(Handle(), "Export the client programs to", "", leExport->Text(), folder))
        leExport->SetText(folder);
}

void TFmControl::bnExportClick(ui::TObject* /*sender*/)
{
    const std::string folder = leExport->Text();
    if (folder.find_first_not_of(' ') == std::string::npos) {
        ui::ShowMessage("Type the folder to write the client programs to, or click \"Export Folder\" to choose it.");
        SetActiveControl(leExport);
        return;
    }
    const std::vector<std::string> existing = rci::ExistingPrograms(folder);
    if (!existing.empty()) {
        std::string names;
        for (const std::string& name : existing) names += (names.empty() ? "" : ", ") + name;
        const std::string question = folder + " already holds " + names + ".\r\n\r\nReplace them?";
        if (MessageBoxA(Handle(), question.c_str(), ui::Application().Title().c_str(), MB_YESNO | MB_ICONQUESTION) !=
            IDYES)
            return;
    }
    std::vector<std::string> written;
    {
        ui::TCursorGuard cursor;
        written = rci::ExportPrograms(RciPath(), folder);
    }
    ui::ShowMessage("The " + std::to_string(written.size()) + " client programs were written to " + folder + ".");
}
