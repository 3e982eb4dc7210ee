// Collecting the inventory on the Wine machine, and the bounds of its probes.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/rtl/sysutils.h"
#include "programs/common/inventory.h"

TEST(Inventory, EverySectionIsThereWithRealValues)
{
    const std::vector<inv::TSection> sections = inv::ParseInventory(inv::CollectInventory());
    for (const char* name : {"Computer", "Windows", "Processors", "Memory", "Drives", "Network", "Programs"})
        ASSERT_NE(inv::FindSection(sections, name), nullptr) << name;
    char computer[256] = {};
    DWORD size = sizeof computer;
    ASSERT_TRUE(GetComputerNameA(computer, &size));
    EXPECT_TRUE(rtl::SameText(inv::FindSection(sections, "Computer")->Lines.Values("Name"), computer));
    EXPECT_FALSE(inv::FindSection(sections, "Windows")->Lines.Values("Build").empty());
    EXPECT_NE(inv::FindSection(sections, "Memory")->Lines.Values("TotalMB"), "0");
    EXPECT_NE(inv::FindSection(sections, "Drives")->Lines.Values("C:").find("Fixed"), std::string::npos);
    const inv::TSection* programs = inv::FindSection(sections, "Programs");
    EXPECT_EQ(programs->Lines.IndexOfName("Error"), -1) << programs->Lines.Text();
}

TEST(Inventory, AFailingOrHangingProbeGivesItsOwnErrorLine)
{
    const HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const std::vector<inv::TProbe> probes = {
        {"Good", [](inv::TSection& s) { s.Add("Value", "1"); }},
        {"Throws", [](inv::TSection& s) {
             s.Add("Partial", "1");
             throw rtl::Exception("disk on fire");
         }},
        // Ends only when released after the test: the collection may not wait for it.
        {"Hangs", [never](inv::TSection&) { WaitForSingleObject(never, 30000); }},
        {"Last", [](inv::TSection& s) { s.Add("Value", "2"); }},
    };
    const std::vector<inv::TSection> got = inv::RunProbes(probes, 1000);
    SetEvent(never);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].Lines.Text(), "Value=1\r\n");
    EXPECT_EQ(got[1].Lines.Text(), "Error=disk on fire\r\n");
    EXPECT_EQ(got[2].Name, "Hangs");
    EXPECT_EQ(got[2].Lines.Count(), 1);
    EXPECT_EQ(got[2].Lines.Names(0), "Error");
    EXPECT_EQ(got[3].Lines.Values("Value"), "2");
}
