// The uninstaller's plan, result and command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "installation.h"
#include "programs/msvc/report_file.h"

using namespace uninst;

namespace {

const std::string kFolder = "C:\\Program Files\\Bsk\\quorvane";
const std::string kProduct = "Bsk\\{A7C3B7DF-D3B6-4F34-A057-05CED05E35B1}";
const std::string kMenu = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\quorvane";

// A machine with the server and the user application installed in kFolder.
TFound Installed()
{
    TFound f;
    f.vendorKey = "Bsk";
    f.productKey = kProduct;
    f.components = {{"quorvane Enterprise Server", kFolder + "\\msvc.exe"},
                    {"quorvane Enterprise Control", kFolder + "\\zevman.exe"},
                    {"quorvane Data Retriever", kFolder + "\\dsvc.exe"},
                    {"quorvane Viewer", kFolder + "\\zev.exe"}};
    f.componentKeys = {"{75B90253-87A5-4A98-A65D-70539AC4749C}", "{A0949F83-5A82-4FFA-83DB-569922E491BE}",
                       "{3BB06F16-0F3F-490E-B707-0F596E8F0EE0}", "{C19B661D-A0F8-46C5-9CC6-02DCA0E655A7}"};
    f.uninstallEntry = true;
    f.uninstallString = kFolder + "\\Uninstall.exe";
    f.runValue = true;
    f.runValueData = kFolder + "\\uload.exe";
    f.ownFolder = kFolder;
    f.startMenuFolder = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
    f.desktopFolder = "C:\\users\\Public\\Desktop";
    return f;
}

std::vector<std::string> Described(const std::vector<TStep>& plan)
{
    std::vector<std::string> out;
    for (const TStep& s : plan) out.push_back(s.Describe());
    return out;
}

bool Has(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST(UninstallPlan, RemovesWhatTheSetupWroteInOrder)
{
    const std::vector<std::string> plan = Described(BuildPlan(Installed()));
    const std::vector<std::string> expected = {
        "service SvcMaster",
        "service SvcData",
        "service SvcClient",
        "registry value HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run quorvanestartupagent",
        "registry key HKLM\\SOFTWARE\\" + kProduct + "\\{75B90253-87A5-4A98-A65D-70539AC4749C}",
        "registry key HKLM\\SOFTWARE\\" + kProduct + "\\{A0949F83-5A82-4FFA-83DB-569922E491BE}",
        "registry key HKLM\\SOFTWARE\\" + kProduct + "\\{3BB06F16-0F3F-490E-B707-0F596E8F0EE0}",
        "registry key HKLM\\SOFTWARE\\" + kProduct + "\\{C19B661D-A0F8-46C5-9CC6-02DCA0E655A7}",
        "registry key HKLM\\SOFTWARE\\" + kProduct,
        "registry key HKLM\\SOFTWARE\\Bsk",
        "shortcut " + kMenu + "\\quorvane Enterprise Ridir Control.lnk",
        "shortcut C:\\users\\Public\\Desktop\\quorvane Enterprise Ridir Control.lnk",
        "shortcut " + kMenu + "\\quorvane Viewer.lnk",
        "shortcut C:\\users\\Public\\Desktop\\quorvane Viewer.lnk",
        "file " + kFolder + "\\msvc.exe",
        "file " + kFolder + "\\zevman.exe",
        "file " + kFolder + "\\dbexpmss.dll",
        "file " + kFolder + "\\rci.dat",
        "file " + kFolder + "\\dsvc.exe",
        "file " + kFolder + "\\uload.exe",
        "file " + kFolder + "\\csvc.exe",
        "file " + kFolder + "\\zev.exe",
        // msvc.exe's reports, once the services are stopped
        "reports in " + kFolder + "\\Reports",
        "folder " + kFolder + "\\Reports",
        // what a second run needs comes last
        "shortcut " + kMenu + "\\Uninstall quorvane.lnk",
        "folder " + kMenu,
        "registry key HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
        "{47F45A1D-BB47-42A4-8DAF-628E428695DC}",
        "file " + kFolder + "\\Uninstall.exe",
        "folder " + kFolder,
        "folder C:\\Program Files\\Bsk",
    };
    EXPECT_EQ(plan, expected);
}

TEST(UninstallPlan, RunValueQuotedOrNot)
{
    for (const std::string& data : {kFolder + "\\uload.exe", "\"" + kFolder + "\\uload.exe\"",
                                    "\"" + kFolder + "\\\\uload.exe\""}) {
        TFound f = Installed();
        f.runValueData = data;
        f.uninstallString = "\"" + kFolder + "\\Uninstall.exe\"";
        const std::vector<std::string> plan = Described(BuildPlan(f));
        EXPECT_TRUE(Has(plan, "registry value HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run "
                              "quorvanestartupagent"))
            << data;
        EXPECT_TRUE(Has(plan, "file " + kFolder + "\\msvc.exe")) << data;
    }
}

TEST(UninstallPlan, KeysKeepTheirOwnValuesOnly)
{
    for (const TStep& s : BuildPlan(Installed())) {
        if (s.Kind != TStepKind::Key) continue;
        if (s.Target == "SOFTWARE\\Bsk") EXPECT_EQ(s.Values, (std::vector<std::string>{"DisplayName", "Id"}));
        else if (s.Target == "SOFTWARE\\" + kProduct) EXPECT_EQ(s.Values, std::vector<std::string>{"DisplayName"});
        else if (s.Target.find("Uninstall\\") != std::string::npos) EXPECT_EQ(s.Values.size(), 6u);
        else EXPECT_EQ(s.Values, std::vector<std::string>{"Data"}) << s.Target;
    }
}

TEST(UninstallPlan, NeverTouchesWhatIsNotTheSetups)
{
    TFound f = Installed();
    f.componentKeys.push_back("{00000000-0000-0000-0000-000000000000}");  // a key of someone else
    f.runValueData = "C:\\Other\\uload.exe";                              // the Run value of another copy
    const std::vector<std::string> plan = Described(BuildPlan(f));
    for (const std::string& line : plan) {
        EXPECT_EQ(line.find("{00000000"), std::string::npos) << line;
        EXPECT_EQ(line.find("setup.sql"), std::string::npos) << line;
        EXPECT_EQ(line.find("quorvanestartupagent"), std::string::npos) << line;
    }
}

TEST(UninstallPlan, FolderFromTheRecords)
{
    struct Case {
        const char* name;
        std::string uninstallString;
        std::string source;
        std::string own;
        std::string folder;
    };
    const Case cases[] = {
        {"entry", "C:\\Apps\\Q\\Uninstall.exe", "D:\\Else\\msvc.exe", "E:\\x", "C:\\Apps\\Q"},
        {"quoted entry", "\"C:\\Apps\\Q R\\Uninstall.exe\" /x", "", "E:\\x", "C:\\Apps\\Q R"},
        {"doubled backslash", "C:\\Apps\\Q\\\\Uninstall.exe", "", "E:\\x", "C:\\Apps\\Q"},
        {"no entry: a record", "", "D:\\Else\\msvc.exe", "E:\\x", "D:\\Else"},
        {"nothing: own folder", "", "", "E:\\x", "E:\\x"},
        {"drive root", "C:\\Uninstall.exe", "", "E:\\x", "C:\\"},
    };
    for (const Case& c : cases) {
        TFound f;
        f.uninstallEntry = !c.uninstallString.empty();
        f.uninstallString = c.uninstallString;
        if (!c.source.empty()) f.components.push_back({"x", c.source});
        f.ownFolder = c.own;
        EXPECT_EQ(InstallFolder(f), c.folder) << c.name;
    }
}

TEST(UninstallPlan, NeverRemovesADriveRootOrAForeignParent)
{
    TFound f;
    f.ownFolder = "C:\\";
    std::vector<std::string> plan = Described(BuildPlan(f));
    EXPECT_EQ(plan.back(), "file C:\\Uninstall.exe");
    EXPECT_TRUE(Has(plan, "file C:\\msvc.exe"));

    f.ownFolder = "D:\\Tools\\quorvane";  // its parent is the user's
    plan = Described(BuildPlan(f));
    EXPECT_EQ(plan.back(), "folder D:\\Tools\\quorvane");
}

TEST(UninstallPlan, WhatASecondRunNeedsStaysAfterAFailure)
{
    const std::vector<TStep> plan = BuildPlan(Installed());
    const std::string zev = kFolder + "\\zev.exe";
    int asked = 0;
    std::vector<std::string> order;
    auto remove = [&](const TStep& s) {
        order.push_back(s.Kind == TStepKind::Service ? "service" : "other");
        TStepResult r;
        r.Step = s;
        r.Outcome = s.Target == zev ? TOutcome::Failed : TOutcome::Removed;
        return r;
    };
    const TResult result = ExecutePlan(plan, kFolder, remove, [&] {
        ++asked;
        order.push_back("asked");
    });
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 5),
              (std::vector<std::string>{"service", "service", "service", "asked", "other"}));
    EXPECT_EQ(result.ExitCode(), ecPartial);
    for (const TStepResult& r : result.Steps) {
        if (r.Step.Target == zev) EXPECT_EQ(r.Outcome, TOutcome::Failed);
        else if (r.Step.Final) EXPECT_EQ(r.Outcome, TOutcome::Kept) << r.Step.Describe();
        else EXPECT_EQ(r.Outcome, TOutcome::Removed) << r.Step.Describe();
    }
    // Without a failure the final steps run too.
    const TResult clean = ExecutePlan(plan, kFolder, [](const TStep& s) {
        TStepResult r;
        r.Step = s;
        r.Outcome = TOutcome::Removed;
        return r;
    });
    const std::vector<std::string> lines = result.Lines();
    // One line for all that is kept for it.
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("second run") != std::string::npos; }),
              1);
    EXPECT_TRUE(Has(lines, "Kept for a second run: Uninstall.exe, its shortcut and its entry in the installed programs."));
    EXPECT_EQ(clean.Steps.size(), plan.size());
    EXPECT_EQ(clean.ExitCode(), ecRemoved);
}

TEST(UninstallPlan, TheUninstallerAloneIsNoInstallation)
{
    TFound f;
    f.ownFolder = "C:\\Downloads";
    const std::vector<TStep> plan = BuildPlan(f);
    std::vector<bool> present(plan.size(), false);
    for (std::size_t i = 0; i < plan.size(); ++i)
        present[i] = plan[i].Kind == TStepKind::OwnFile || plan[i].Kind == TStepKind::Folder ||
                     plan[i].Kind == TStepKind::Reports;  // a "Reports" folder beside a download is not ours
    EXPECT_FALSE(AnythingInstalled(plan, present));
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (plan[i].Target != "C:\\Downloads\\zev.exe") continue;
        present[i] = true;
        EXPECT_TRUE(AnythingInstalled(plan, present));
    }
}

TEST(UninstallPlan, ServerReportsOnlyByTheirNaming)
{
    // What the server writes: every report name, and its temporaries.
    for (const char* computer : {"PC1", "a_b", "\xC4", "CON", "x y", ""}) {
        const std::string name = msvc::ReportFileName(computer);
        EXPECT_TRUE(msvc::IsReportFile(name)) << name;
        EXPECT_FALSE(msvc::IsReportTempFile(name)) << name;
        const std::string temp = msvc::ReportTempPath(name, 1234, 18446744073709551615ull);
        EXPECT_TRUE(msvc::IsReportTempFile(temp)) << temp;
        EXPECT_FALSE(msvc::IsReportFile(temp)) << temp;
    }
    struct Case {
        const char* name;
        bool report, temp;
    };
    const Case cases[] = {
        {"PC-Office.TXT", true, false},  // file names are case-insensitive
        {"pc-a.txt.1-2.NEW", false, true},
        {"notes.txt", false, false},
        {"pc-my notes.txt", false, false},  // the server never writes a blank
        {"pc-a_5.txt", false, false},
        {"pc-a_zz.txt", false, false},
        {"pc-a_5f.txt", false, false},  // the server writes upper-case hex
        {"pc-a.txt.bak", false, false},
        {"pc-a.txt.new", false, false},
        {"pc-a.txt.12-.new", false, false},
        {"pc-a.txt.x-1.new", false, false},
        {"pc-a b.txt.1-2.new", false, false},
        {"pc-a.doc", false, false},
        {"pc-.tx", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(msvc::IsReportFile(c.name), c.report) << c.name;
        EXPECT_EQ(msvc::IsReportTempFile(c.name), c.temp) << c.name;
    }
}

TEST(UninstallResult, ExitCodeAndLines)
{
    auto result = [](std::vector<TOutcome> outcomes) {
        TResult r;
        r.Folder = kFolder;
        for (TOutcome o : outcomes) {
            TStepResult s;
            s.Step.Kind = TStepKind::File;
            s.Step.Target = kFolder + "\\zev.exe";
            s.Outcome = o;
            s.Reason = o == TOutcome::Kept ? "it holds other files" : "the program is running";
            r.Steps.push_back(s);
        }
        return r;
    };
    EXPECT_EQ(result({}).ExitCode(), ecNothingFound);
    EXPECT_EQ(result({TOutcome::Absent, TOutcome::Absent}).ExitCode(), ecNothingFound);
    EXPECT_EQ(result({TOutcome::Absent, TOutcome::Removed}).ExitCode(), ecRemoved);
    EXPECT_EQ(result({TOutcome::Removed, TOutcome::Kept}).ExitCode(), ecRemoved);
    EXPECT_EQ(result({TOutcome::Removed, TOutcome::Failed, TOutcome::Removed}).ExitCode(), ecPartial);

    EXPECT_EQ(result({}).Lines(),
              std::vector<std::string>{"No installation of quorvane was found on this computer; nothing was changed."});
    TResult partial = result({TOutcome::Removed, TOutcome::Failed});
    partial.ScriptKept = true;
    const std::vector<std::string> lines = partial.Lines();
    EXPECT_EQ(lines.front(), "quorvane could not be removed completely. Not removed:");
    EXPECT_TRUE(Has(lines, "  file " + kFolder + "\\zev.exe: the program is running"));
    EXPECT_TRUE(Has(lines, "Kept: " + kFolder + "\\setup.sql, the database script."));
    EXPECT_TRUE(Has(lines, "Kept: the quorvane database on the SQL Server."));
    EXPECT_EQ(result({TOutcome::Removed}).Lines().front(), "quorvane has been removed from this computer.");
}

TEST(UninstallConfirmation, ListsComponentsAndWhatIsThere)
{
    TFound f = Installed();
    std::swap(f.components[0], f.components[2]);  // the registry's order is not the setup's
    const std::vector<TStep> plan = BuildPlan(f);
    std::vector<bool> present(plan.size(), true);
    present[2] = false;  // no SvcClient
    std::vector<std::string> texts;
    for (const TListLine& l : ConfirmationLines(f, plan, present)) texts.push_back(l.Text);
    EXPECT_EQ(texts, (std::vector<std::string>{"quorvane Enterprise Server", "quorvane Enterprise Control",
                                               "quorvane Data Retriever", "quorvane Viewer",
                                               "Services SvcMaster, SvcData", "Registry records",
                                               "Start-menu folder quorvane and desktop shortcuts",
                                               "Program files in " + kFolder,
                                               "The agents' reports kept by the server",
                                               "Kept: setup.sql and the quorvane database on the SQL Server"}));
}

TEST(UninstallCommandLine, Switches)
{
    struct Case {
        std::vector<std::string> args;
        bool silent, help;
        std::string origin;
        unsigned long parent;
        bool bad;
    };
    const Case cases[] = {
        {{}, false, false, "", 0, false},
        {{"/silent"}, true, false, "", 0, false},
        {{"-SILENT"}, true, false, "", 0, false},
        {{"/?"}, false, true, "", 0, false},
        {{"/silent", "/origin", "C:\\A B\\Uninstall.exe", "/parent", "42"}, true, false, "C:\\A B\\Uninstall.exe", 42,
         false},
        {{"/parent", "x"}, false, false, "", 0, true},
        {{"/quiet"}, false, false, "", 0, true},
        {{"/quiet", "/silent"}, true, false, "", 0, true},
        {{"silent"}, false, false, "", 0, true},
        {{"/origin"}, false, false, "", 0, true},
    };
    for (const Case& c : cases) {
        const TCommandLine cl = ParseCommandLine(c.args);
        const std::string name = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(!cl.Error.empty(), c.bad) << name;
        EXPECT_EQ(cl.Silent, c.silent) << name;
        if (c.bad) continue;
        EXPECT_EQ(cl.Help, c.help) << name;
        EXPECT_EQ(cl.Origin, c.origin) << name;
        EXPECT_EQ(cl.Parent, c.parent) << name;
    }
}
