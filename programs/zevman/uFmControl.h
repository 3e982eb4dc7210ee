// The server application's window: the server's settings, the computers that
// reported to it, and the client programs in rci.dat with their export.
#pragma once

#include <optional>
#include <string>

#include "platform/rtl/classes.h"
#include "platform/ui/listbox.h"
#include "programs/common/appframe.h"

class TFmControl : public apps::TAppForm {
public:
    TFmControl();

    void bnExportClick(ui::TObject* sender);
    void leExportSubLabelClick(ui::TObject* sender);

    ui::TPanel* pnSettings;
    ui::TListBox* lbSettings;
    ui::TPanel* pnReporters;
    ui::TLabel* lbReportersState;
    ui::TListBox* lbReporters;
    ui::TPanel* pnRci;
    ui::TLabel* lbRciState;
    ui::TListBox* lbRci;
    ui::TLabeledEdit* leExport;
    ui::TButton* bnExport;

protected:
    void Load() override;

private:
    // Each part says on its own what went wrong, so one fault hides nothing else.
    // The server application's record, shown; none when it cannot be read.
    std::optional<rtl::TStringList> LoadSettings();
    void LoadReporters(const rtl::TStringList* record);
    void LoadRci();
    std::string RciPath() const;

    bool rciSound_ = false;
};
