// The detection lines and the blocking rule, on registries made for each case.
#include <gtest/gtest.h>

#include "detect/detection.h"
#include "query/ucfg.h"
#include "registry/ureg.h"
#include "registry_fixture.h"

using namespace regtest;

namespace {

const std::string kVendorKey = std::string("SOFTWARE\\") + VendorGuid;
const std::string kProductKey = kVendorKey + "\\" + ProductGuid;

// Records the lines: "S:" step, "F:" finding, "|" each show.
class TRecordingView : public IDetectionView {
public:
    std::vector<std::string> lines;
    void AddStep(const std::string& text) override { lines.push_back("S:" + text); }
    void AddFinding(const std::string& text) override { lines.push_back("F:" + text); }
    void ShowLines() override { lines.push_back("|"); }
};

void WriteComponent(int n, const std::vector<std::string>& lines)
{
    // Appended rather than "literal" + string: GCC 12 warns falsely (-Wrestrict) there on i686.
    std::string name = "Component";
    name += std::to_string(n);
    ureg::TSetReg reg(kProductKey, name, HKEY_LOCAL_MACHINE);
    for (const auto& line : lines) reg.Add(line);
    reg.Write("Data");
}

class Detection : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteTree(kVendorKey);
        DeleteTree("SOFTWARE\\Bsk");
    }
    void TearDown() override { SetUp(); }
};

const std::vector<std::string> kBlockLines = {
    "F:", "F:Setup is unable to continue with installation", "F:because another version of the package is present",
    "F:Please uninstall first, or contact your vendor for more information."};

std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST_F(Detection, EachMachineGivesItsLines)
{
    struct Case {
        const char* what;
        void (*setup)();
        std::vector<std::string> lines;
        bool blocked;
    };
    const Case cases[] = {
        {"no vendor key", [] {}, {"F:none detected", "|"}, false},
        {"vendor key, no product key",
         [] { SetString(kVendorKey, "DisplayName", "Brantel Sukma Teknika"); },
         {"F:Brantel Sukma Teknika", "S:Detecting installed products...", "|", "F:none detected", "|"},
         false},
        {"vendor key without a display name",
         [] { CreateKey(kVendorKey); },
         {"F:", "S:Detecting installed products...", "|", "F:none detected", "|"},
         false},
        {"product key without components",
         [] {
             SetString(kVendorKey, "DisplayName", "Brantel Sukma Teknika");
             SetString(kProductKey, "DisplayName", "quorvane");
         },
         {"F:Brantel Sukma Teknika", "S:Detecting installed products...", "|", "F:quorvane",
          "S:Detecting installed components...", "|"},
         false},
        {"three components, one without a display name",
         [] {
             SetString(kVendorKey, "DisplayName", "Brantel Sukma Teknika");
             SetString(kProductKey, "DisplayName", "quorvane");
             WriteComponent(0, {"DisplayName=quorvane Enterprise Server", "Port=1991"});
             WriteComponent(1, {"Port=1661"});
             WriteComponent(2, {"DisplayName=quorvane Viewer"});
         },
         Join({"F:Brantel Sukma Teknika", "S:Detecting installed products...", "|", "F:quorvane",
               "S:Detecting installed components...", "|", "F:  quorvane Enterprise Server", "|", "F:  ", "|",
               "F:  quorvane Viewer", "|"},
              kBlockLines),
         true},
        {"one component key without any value",
         [] {
             SetString(kVendorKey, "DisplayName", "Brantel Sukma Teknika");
             SetString(kProductKey, "DisplayName", "quorvane");
             CreateKey(kProductKey + "\\Component0");
         },
         Join({"F:Brantel Sukma Teknika", "S:Detecting installed products...", "|", "F:quorvane",
               "S:Detecting installed components...", "|", "F:  ", "|"},
              kBlockLines),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        c.setup();
        TRecordingView view;
        EXPECT_EQ(DetectPreviousInstallation(view), c.blocked);
        EXPECT_EQ(view.lines, c.lines);
    }
}

// A "Bsk" vendor key that belongs to someone else is not ours: nothing is found.
TEST_F(Detection, ForeignBskKeyCountsAsNoVendor)
{
    SetString("SOFTWARE\\Bsk", "Id", "{00000000-0000-0000-0000-000000000000}");
    SetString("SOFTWARE\\Bsk\\" + std::string(ProductGuid), "DisplayName", "quorvane");
    TRecordingView view;
    EXPECT_FALSE(DetectPreviousInstallation(view));
    EXPECT_EQ(view.lines, (std::vector<std::string>{"F:none detected", "|"}));
}
