#include <gtest/gtest.h>

#include "programs/common/inventory_text.h"
#include "programs/msvc/report_file.h"
#include "protocol/install_reply.h"
#include "protocol/requests.h"

TEST(Requests, RequestLinesAreReadBack)
{
    struct Case {
        const char* line;
        proto::TRequestKind kind;
        const char* argument;
    };
    const Case cases[] = {
        {"Inventory 1.0", proto::TRequestKind::Inventory, ""},
        {"Reporters 1.0", proto::TRequestKind::Reporters, ""},
        {"Report 1.0 PC-01", proto::TRequestKind::Report, "PC-01"},
        {"Report 1.0 name with blanks", proto::TRequestKind::Report, "name with blanks"},
        {"Install 1.0 {6B1E92C7-D0F2-4A6E-93B1-7E0D2C68FA15}", proto::TRequestKind::Install, ""},
        {"Report 1.0", proto::TRequestKind::Unknown, ""},
        {"Report 1.0 ", proto::TRequestKind::Unknown, ""},
        {"Inventory 2.0", proto::TRequestKind::Unknown, ""},
        {"inventory 1.0", proto::TRequestKind::Unknown, ""},
        {"Inventory 1.0 extra", proto::TRequestKind::Unknown, ""},
        {"Reporters 1.0x", proto::TRequestKind::Unknown, ""},
        {"", proto::TRequestKind::Unknown, ""},
    };
    for (const Case& c : cases) {
        const proto::TRequest r = proto::ParseRequest(c.line);
        EXPECT_EQ(r.Kind, c.kind) << c.line;
        EXPECT_EQ(r.Argument, c.argument) << c.line;
    }
    EXPECT_EQ(proto::ParseRequest(proto::InstallRequest()).Kind, proto::TRequestKind::Install);
    EXPECT_EQ(proto::ParseRequest(proto::InventoryRequest()).Kind, proto::TRequestKind::Inventory);
    EXPECT_EQ(proto::ParseRequest(proto::ReportersRequest()).Kind, proto::TRequestKind::Reporters);
    EXPECT_EQ(proto::ParseRequest(proto::ReportRequest("A B")).Argument, "A B");
}

TEST(Requests, ComputerNames)
{
    EXPECT_TRUE(proto::ValidComputerName("PC-01"));
    EXPECT_TRUE(proto::ValidComputerName("..\\..\\Windows"));  // made safe by the store, not refused
    EXPECT_TRUE(proto::ValidComputerName(std::string(proto::MaxComputerName, 'a')));
    EXPECT_FALSE(proto::ValidComputerName(std::string(proto::MaxComputerName + 1, 'a')));
    EXPECT_FALSE(proto::ValidComputerName(""));
    EXPECT_FALSE(proto::ValidComputerName("   "));
    EXPECT_FALSE(proto::ValidComputerName(std::string("a\tb")));
    EXPECT_FALSE(proto::ValidComputerName(std::string("a\0b", 3)));
}

TEST(Requests, BodiesSurviveFramingWithinTheLimits)
{
    const rtl::TStringList body{"[Computer]", "Name=x", ".", "..two", ".hidden=1", ""};
    const std::vector<std::string> framed = proto::FrameBody(body);
    ASSERT_EQ(framed.size(), 7u);
    EXPECT_EQ(framed[2], "..");
    EXPECT_EQ(framed[3], "...two");
    EXPECT_EQ(framed.back(), ".");
    proto::TBodyReader reader;
    for (std::size_t i = 0; i + 1 < framed.size(); ++i)
        ASSERT_EQ(reader.Add(framed[i]), proto::TBodyReader::TResult::More);
    EXPECT_EQ(reader.Add(framed.back()), proto::TBodyReader::TResult::Done);
    EXPECT_EQ(reader.Body().Lines(), body.Lines());

    proto::TBodyReader tooMany;
    proto::TBodyReader::TResult r = proto::TBodyReader::TResult::More;
    for (std::size_t i = 0; i <= proto::MaxBodyLines && r == proto::TBodyReader::TResult::More; ++i) r = tooMany.Add("a=b");
    EXPECT_EQ(r, proto::TBodyReader::TResult::TooBig);

    proto::TBodyReader tooLarge;
    const std::string wide(16000, 'w');
    r = proto::TBodyReader::TResult::More;
    for (std::size_t i = 0; i < proto::MaxBodyLines && r == proto::TBodyReader::TResult::More; ++i) r = tooLarge.Add(wide);
    EXPECT_EQ(r, proto::TBodyReader::TResult::TooBig);
    EXPECT_LE(static_cast<std::size_t>(tooLarge.Body().Count()) * wide.size(), proto::MaxBodyBytes);
}

TEST(Requests, ErrorsAndReporters)
{
    std::string text;
    EXPECT_TRUE(proto::ParseErrorReply(proto::ErrorReply("bad\r\nthing"), text));
    EXPECT_EQ(text, "bad  thing");
    EXPECT_FALSE(proto::ParseErrorReply("OK", text));
    EXPECT_FALSE(proto::ParseErrorReply("ERRORS", text));

    const proto::TReporter cases[] = {
        {"PC-01", "2026-01-02 03:04:05"}, {"name, with \"quotes\"", "2026-01-02 03:04:05"}, {"", ""}};
    for (const proto::TReporter& c : cases) {
        proto::TReporter back;
        ASSERT_TRUE(proto::ParseReporter(proto::FormatReporter(c), back)) << c.Computer;
        EXPECT_EQ(back.Computer, c.Computer);
        EXPECT_EQ(back.Time, c.Time);
    }
    proto::TReporter r;
    EXPECT_FALSE(proto::ParseReporter("one", r));
    EXPECT_FALSE(proto::ParseReporter("a,b,c", r));
}

TEST(InventoryText, SectionsRoundTripAndValuesStayOnOneLine)
{
    std::vector<inv::TSection> sections(2);
    sections[0].Name = "Computer";
    sections[0].Add("Name", "PC\r\n01 ");
    sections[1].Name = "Programs";
    sections[1].Add("A=B", "x=y");
    sections[1].Add("[odd", "1");
    const rtl::TStringList lines = inv::FormatInventory(sections);
    EXPECT_EQ(lines.Lines(), (std::vector<std::string>{"[Computer]", "Name=PC  01", "[Programs]", "A-B=x=y", "(odd=1"}));

    const std::vector<inv::TSection> back = inv::ParseInventory(lines);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].Lines.Values("Name"), "PC  01");
    EXPECT_EQ(back[1].Lines.Values("A-B"), "x=y");
    ASSERT_NE(inv::FindSection(back, "programs"), nullptr);
    EXPECT_EQ(inv::FindSection(back, "Memory"), nullptr);

    const std::vector<inv::TSection> loose = inv::ParseInventory(rtl::TStringList{"a=1", "", "[S]", "b=2"});
    ASSERT_EQ(loose.size(), 2u);
    EXPECT_EQ(loose[0].Name, "");
    EXPECT_EQ(loose[0].Lines.Values("a"), "1");
    EXPECT_EQ(inv::MegaBytes(5ull * 1024 * 1024 + 1), "5");
}

TEST(InventoryText, WindowsElevenIsNamedSoThoughItsProductNameSaysTen)
{
    struct Case {
        const char* product;
        unsigned long build;
        const char* expected;
    };
    const Case cases[] = {
        {"Windows 10 Pro", 22000, "Windows 11 Pro"},
        {"Windows 10 Enterprise LTSC 2024", 26100, "Windows 11 Enterprise LTSC 2024"},
        {"Windows 10", 22631, "Windows 11"},
        {"Windows 10 Pro", 19045, "Windows 10 Pro"},
        {"Windows 10 Pro", 21999, "Windows 10 Pro"},
        {"Windows Server 2022 Datacenter", 20348, "Windows Server 2022 Datacenter"},
        {"Windows Server 2025 Standard", 26100, "Windows Server 2025 Standard"},
        {"Windows 7 Professional", 7601, "Windows 7 Professional"},
        {"Windows 100", 22000, "Windows 100"},
        {"", 22000, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(inv::WindowsProductName(c.product, c.build), c.expected) << c.product << " " << c.build;
}

TEST(ReportFiles, NamesAreSafeWhateverTheComputerCallsItself)
{
    struct Case {
        const char* computer;
        const char* file;
    };
    const Case cases[] = {
        {"PC-01", "pc-PC-01.txt"},
        {"..\\..\\x", "pc-_2E_2E_5C_2E_2E_5Cx.txt"},
        {"a/b:c", "pc-a_2Fb_3Ac.txt"},
        {"CON", "pc-CON.txt"},
        {"x y", "pc-x_20y.txt"},
        {"a_b", "pc-a_5Fb.txt"},  // "_" is encoded, so no two names meet
        {"\xC4", "pc-_C4.txt"},
    };
    for (const Case& c : cases) EXPECT_EQ(msvc::ReportFileName(c.computer), c.file) << c.computer;

    const rtl::TStringList file = msvc::FormatReport({"PC", "2026-01-02 03:04:05", "127.0.0.1"}, {"[S]", "a=1"});
    msvc::TReportHead head;
    ASSERT_TRUE(msvc::ParseReportHead(file, head));
    EXPECT_EQ(head.Computer, "PC");
    EXPECT_EQ(head.Received, "2026-01-02 03:04:05");
    EXPECT_FALSE(msvc::ParseReportHead(rtl::TStringList{"[S]", "a=1", "b=2"}, head));
    EXPECT_EQ(msvc::TimeText(2026, 1, 2, 3, 4, 5), "2026-01-02 03:04:05");
}
