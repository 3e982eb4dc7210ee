// The run's windows-free rules: which steps a choice shows, the component
// records, the rci.dat length field and the paths.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "wizard/install_plan.h"

namespace {

// Step texts by short name, so that the table below stays readable.
std::vector<std::string> Texts(std::initializer_list<TStep> steps)
{
    std::vector<std::string> texts;
    for (TStep s : steps) texts.emplace_back(StepText(s));
    return texts;
}

using S = TStep;

const std::vector<std::string> Opening = Texts({S::Start, S::RegistryAccess, S::ServiceManagerAccess,
                                                S::CreateFolder, S::Extract});

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct PlanCase {
    const char* name;
    bool s, a, u, c, q, vendor, product;
    std::vector<std::string> expected;
};

TEST(InstallPlan, StepsForEveryChoice)
{
    const auto serverFiles = Texts({S::ExtractServer, S::ExtractServerApp, S::ExtractDriver, S::ExtractRemoteData});
    const auto clientFiles = Texts({S::ExtractDataRetriever, S::ExtractStartupAgent});
    const auto uninstaller = Texts({S::ExtractUninstaller, S::Register});
    const auto fresh = Texts({S::RegisterVendor, S::RegisterProduct, S::RegisterUninstaller});
    const auto db = Texts({S::DatabaseSetup, S::DatabaseConnect, S::DatabaseCreate, S::DatabaseLogin,
                           S::DatabaseObjects});
    const std::vector<PlanCase> cases = {
        {"typical road", true, false, true, true, false, false, false,
         Join({Opening, serverFiles, clientFiles, Texts({S::ExtractViewer}), uninstaller, fresh,
               Texts({S::RegisterServer, S::RegisterServerApp, S::RegisterDataRetriever, S::RegisterViewer}), db,
               Texts({S::StartServices, S::StartServer, S::StartDataRetriever, S::Shortcuts})})},
        {"user only", false, false, true, false, false, false, false,
         Join({Opening, clientFiles, Texts({S::ExtractViewer}), uninstaller, fresh,
               Texts({S::RegisterDataRetriever, S::RegisterViewer, S::StartServices, S::StartDataRetriever,
                      S::Shortcuts})})},
        {"agent only: no shortcut step", false, true, false, true, true, false, false,
         Join({Opening, clientFiles, Texts({S::ExtractAgent}), uninstaller, fresh,
               Texts({S::RegisterDataRetriever, S::RegisterAgent, S::StartServices, S::StartDataRetriever,
                      S::StartAgent})})},
        {"server without create, with script", true, false, false, false, true, false, false,
         Join({Opening, serverFiles, uninstaller, fresh,
               Texts({S::RegisterServer, S::RegisterServerApp, S::DatabaseScript, S::StartServices,
                      S::Shortcuts})})},
        {"server with neither database choice", true, false, false, false, false, false, false,
         Join({Opening, serverFiles, uninstaller, fresh,
               Texts({S::RegisterServer, S::RegisterServerApp, S::StartServices, S::Shortcuts})})},
        {"all three, vendor registered", true, true, true, true, true, true, false,
         Join({Opening, serverFiles, clientFiles, Texts({S::ExtractAgent, S::ExtractViewer}), uninstaller,
               Texts({S::RegisterProduct, S::RegisterUninstaller, S::RegisterServer, S::RegisterServerApp,
                      S::RegisterDataRetriever, S::RegisterAgent, S::RegisterViewer}),
               db, Texts({S::DatabaseScript, S::StartServices, S::StartServer, S::StartDataRetriever, S::StartAgent,
                          S::Shortcuts})})},
        {"vendor and product registered", false, false, true, false, false, true, true,
         Join({Opening, clientFiles, Texts({S::ExtractViewer}), uninstaller,
               Texts({S::RegisterUninstaller, S::RegisterDataRetriever, S::RegisterViewer, S::StartServices,
                      S::StartDataRetriever, S::Shortcuts})})},
        {"database choices without the server count for nothing", false, false, true, true, true, false, false,
         Join({Opening, clientFiles, Texts({S::ExtractViewer}), uninstaller, fresh,
               Texts({S::RegisterDataRetriever, S::RegisterViewer, S::StartServices, S::StartDataRetriever,
                      S::Shortcuts})})},
    };
    for (const PlanCase& c : cases) {
        TInstallInput in;
        in.Server = c.s, in.Agent = c.a, in.UserApp = c.u, in.Create = c.c, in.Script = c.q;
        EXPECT_EQ(PlanSteps(in, {c.vendor, c.product}), c.expected) << c.name;
    }
}

TEST(InstallPlan, StepCountsStayWithinTheRunsRange)
{
    TInstallInput all;
    all.Server = all.Agent = all.UserApp = all.Create = all.Script = true;
    EXPECT_EQ(PlanSteps(all, {}).size(), 34u);  // every step but the one without text
    TInstallInput agent;
    agent.Agent = true;
    EXPECT_EQ(PlanSteps(agent, {true, true}).size(), 16u);
}

TEST(InstallPlan, TheStepTextsAsShown)
{
    EXPECT_STREQ(StepText(TStep::DatabaseSetup), "Seting up database");
    EXPECT_STREQ(StepText(TStep::ExtractDriver), "Extracting dll : dbexpmss.dll");
    EXPECT_STREQ(StepText(TStep::RegisterServerApp), "Registering quorvane Enterprise Ridir Control");
    EXPECT_STREQ(StepText(TStep::ReleaseRegistration), "");
    EXPECT_STREQ(StepText(TStep::Shortcuts), "Creating shortcuts");
}

std::string Record(TComponent c, const std::string& folder, const TInstallSettings& s)
{
    std::string text;
    for (const auto& line : ComponentRecord(c, "FileVersion=1.2", "ProductVersion=3.4", "5.6", folder, s))
        text += line + "\r\n";
    return text;
}

TEST(InstallPlan, ComponentRecordsLineForLine)
{
    const TInstallSettings s{"10.0.0.1", "1991", "1881", "1771", "1661", "dbhost", "zpprf", "ontzuq", "tovendu"};
    const std::string head = "FileVersion=1.2\r\nProductVersion=3.4\r\nUninstall=5.6\r\n";
    const std::string conn = "Host=10.0.0.1\r\nServer=1991\r\nClient=1881\r\n";
    const std::string db = "HostName=dbhost\r\nDataBase=zpprf\r\nUser_Name=ontzuq\r\nPassword=tovendu\r\n";
    const std::string f = "C:\\Program Files\\Bsk\\quorvane";
    EXPECT_EQ(Record(TComponent::ServerService, f, s),
              "DisplayName=quorvane Enterprise Server\r\nId={75B90253-87A5-4A98-A65D-70539AC4749C}\r\n" + head +
                  "Source=" + f + "\\msvc.exe\r\n" + conn + "Local=1771\r\nData=1661\r\n" + db + "RdcPath=\r\n");
    EXPECT_EQ(Record(TComponent::ServerApp, f, s),
              "DisplayName=quorvane Enterprise Control\r\nId={A0949F83-5A82-4FFA-83DB-569922E491BE}\r\n" + head +
                  "Source=" + f + "\\zevman.exe\r\n" + conn + "Local=1771\r\nData=1661\r\n" + db);
    EXPECT_EQ(Record(TComponent::DataRetriever, f, s),
              "DisplayName=quorvane Data Retriever\r\nId={3BB06F16-0F3F-490E-B707-0F596E8F0EE0}\r\n" + head +
                  "Source=" + f + "\\dsvc.exe\r\nData=1661\r\n");
    EXPECT_EQ(Record(TComponent::Agent, f, s),
              "DisplayName=quorvane Agent\r\nId={DF5BAB2F-E50D-4848-8966-68321DA115FE}\r\n" + head + "Source=" + f +
                  "\\csvc.exe\r\n" + conn + "Local=1771\r\nData=1661\r\n");
    EXPECT_EQ(Record(TComponent::Viewer, f, s),
              "DisplayName=quorvane Viewer\r\nId={C19B661D-A0F8-46C5-9CC6-02DCA0E655A7}\r\n" + head + "Source=" + f +
                  "\\zev.exe\r\nLocal=1771\r\nData=1661\r\n");
}

TEST(InstallPlan, EmptyLocalPortAndFolderWithTrailingBackslash)
{
    TInstallSettings s{"h", "1", "2", "", "4", "d", "n", "u", "p"};
    const std::string f = "D:\\apps\\";
    EXPECT_NE(Record(TComponent::ServerService, f, s).find("Client=2\r\nLocal=\r\nData=4\r\n"), std::string::npos);
    EXPECT_NE(Record(TComponent::ServerApp, f, s).find("Client=2\r\nLocal=\r\nData=4\r\n"), std::string::npos);
    EXPECT_NE(Record(TComponent::Agent, f, s).find("Client=2\r\nData=4\r\n"), std::string::npos);
    EXPECT_NE(Record(TComponent::Viewer, f, s).find("Source=D:\\apps\\\\zev.exe\r\nData=4\r\n"), std::string::npos);
    EXPECT_EQ(ProgramPath(f, "uload.exe"), "D:\\apps\\\\uload.exe");
}

TEST(InstallPlan, RciLengthFieldIsLittleEndianSixtyFourBits)
{
    const auto field = RciLengthField(849408);  // 0x000CF600
    const std::array<std::uint8_t, 8> expected = {0x00, 0xF6, 0x0C, 0x00, 0, 0, 0, 0};
    EXPECT_EQ(field, expected);
    const std::array<std::uint8_t, 8> top = {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    EXPECT_EQ(RciLengthField(0xFFFFFFFFu), top);
}

TEST(InstallPlan, PathsAndCommandLines)
{
    EXPECT_EQ(QuotedProgramPath("C:\\Program Files\\Bsk\\quorvane", "Uninstall.exe"),
              "\"C:\\Program Files\\Bsk\\quorvane\\Uninstall.exe\"");
    struct {
        const char* folder;
        bool full;
    } cases[] = {
        {"C:\\Program Files\\Bsk\\quorvane", true}, {"c:\\", true},  {"\\\\server\\share\\q", true},
        {"\\\\server\\share", true},                {"quorvane", false}, {"C:quorvane", false},
        {"\\quorvane", false},                      {"\\\\server", false}, {"\\\\\\share", false},
        {"", false},                                {"1:\\x", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsFullPath(c.folder), c.full) << c.folder;
}

}  // namespace
