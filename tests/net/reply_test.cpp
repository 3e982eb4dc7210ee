#include <gtest/gtest.h>

#include "platform/net/line.h"
#include "protocol/install_reply.h"

namespace {

struct ReplyCase {
    const char* what;
    std::string line;
    proto::TInstallSettings expected;
};

std::string LongValue(std::size_t lineLength)
{
    // "Host=" + value + ",Server=1" is lineLength characters.
    return std::string(lineLength - 5 - 9, 'h');
}

}  // namespace

TEST(InstallReply, ParsesTheFiveSettings)
{
    const std::string big = LongValue(16385);
    const ReplyCase cases[] = {
        {"plain", "Host=10.0.0.1,Server=1991,Data=1661,Client=1881,Local=1771",
         {"10.0.0.1", "1991", "1661", "1881", "1771"}},
        {"names without regard to case", "HOST=a,server=b,DaTa=c,CLIENT=d,local=e", {"a", "b", "c", "d", "e"}},
        {"free order", "Local=e,Client=d,Data=c,Server=b,Host=a", {"a", "b", "c", "d", "e"}},
        {"missing Local", "Host=a,Server=b,Data=c,Client=d", {"a", "b", "c", "d", ""}},
        {"extra items ignored", "Version=2,Host=a,Foo=bar,Server=b,Data=c,Extra,Client=d,Local=e,Hostname=x",
         {"a", "b", "c", "d", "e"}},
        {"first item of a name wins", "Host=a,Host=z,Server=b", {"a", "b", "", "", ""}},
        {"value keeps later equals signs", "Host=a=b", {"a=b", "", "", "", ""}},
        {"quoted comma and blank", "\"Host=a b\",\"Server=1,2\",Data=3", {"a b", "1,2", "3", "", ""}},
        {"doubled quotes", "\"Host=say \"\"hi\"\"\",Server=1", {"say \"hi\"", "1", "", "", ""}},
        {"blanks and control characters before items", " \t Host=a,  \x01\x1fServer=b ,\r Data=c",
         {"a", "b", "c", "", ""}},
        {"unquoted item ends at a blank", "Host=a b,Server=c", {"a", "c", "", "", ""}},
        {"unquoted item ends at a control character", "Host=a\tb,Server=c", {"a", "c", "", "", ""}},
        {"empty values", "Host=,Server=,Data=1", {"", "", "1", "", ""}},
        {"empty line", "", {"", "", "", "", ""}},
        {"quoted empty item", "\"\",Host=a", {"a", "", "", "", ""}},
        {"bytes above 127 are text", "Host=h\xe9te,Server=1", {"h\xe9te", "1", "", "", ""}},
        {"a line of 16385 characters", "Host=" + big + ",Server=1", {big, "1", "", "", ""}},
    };
    EXPECT_EQ(cases[std::size(cases) - 1].line.size(), 16385u);
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.what);
        const proto::TInstallSettings s = proto::ParseInstallReply(c.line);
        EXPECT_EQ(s.Host, c.expected.Host);
        EXPECT_EQ(s.Server, c.expected.Server);
        EXPECT_EQ(s.Data, c.expected.Data);
        EXPECT_EQ(s.Client, c.expected.Client);
        EXPECT_EQ(s.Local, c.expected.Local);
    }
}

TEST(InstallReply, SplitsItems)
{
    const struct {
        std::string line;
        std::vector<std::string> items;
    } cases[] = {
        {"a,b", {"a", "b"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {"  a  ,  b  ", {"a", "b"}},
        {"a b", {"a", "b"}},
        {"\"a\"b", {"a", "b"}},
        {"\"unterminated, quote", {"unterminated, quote"}},
        {"\"\"\"\"", {"\""}},
        {"x=\"1\"", {"x=\"1\""}},  // a quote inside an unquoted item is plain text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const rtl::TStringList items = proto::SplitItems(c.line);
        EXPECT_EQ(items.Lines(), c.items);
    }
}

TEST(InstallReply, WrittenRepliesReadBackUnchanged)
{
    const proto::TInstallSettings sent{"", "1991", "a,b", "say \"x\"", "tab\there and blank"};
    const std::string line = proto::FormatInstallReply(sent);
    EXPECT_EQ(line, "Host=,Server=1991,\"Data=a,b\",\"Client=say \"\"x\"\"\",\"Local=tab\there and blank\"");
    const proto::TInstallSettings got = proto::ParseInstallReply(line);
    EXPECT_EQ(got.Host, sent.Host);
    EXPECT_EQ(got.Server, sent.Server);
    EXPECT_EQ(got.Data, sent.Data);
    EXPECT_EQ(got.Client, sent.Client);
    EXPECT_EQ(got.Local, sent.Local);
    EXPECT_EQ(proto::InstallRequest(), "Install 1.0 {6B1E92C7-D0F2-4A6E-93B1-7E0D2C68FA15}");
}

TEST(LineReader, SplitsAndLimitsLines)
{
    using R = net::TLineReader::TResult;
    const std::string max(net::MaxLineLength, 'x');
    const struct {
        const char* what;
        std::string input;
        R result;
        std::string line;
    } cases[] = {
        {"LF ends a line", "abc\nrest", R::Line, "abc"},
        {"CR before LF dropped", "abc\r\n", R::Line, "abc"},
        {"only one CR dropped", "abc\r\r\n", R::Line, "abc\r"},
        {"CR alone is text", "a\rb\n", R::Line, "a\rb"},
        {"empty line", "\n", R::Line, ""},
        {"no LF yet", "abc", R::NeedMore, ""},
        {"longest line", max + "\n", R::Line, max},
        {"longest line with CR", max + "\r\n", R::Line, max},
        {"longest line, CR waiting for its LF", max + "\r", R::NeedMore, ""},
        {"one too long", max + "x\n", R::TooLong, ""},
        {"one too long, no LF yet", max + "x", R::TooLong, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Whole, and byte by byte as a slow peer would send it.
        net::TLineReader whole;
        whole.Feed(c.input.data(), c.input.size());
        std::string line;
        EXPECT_EQ(whole.TakeLine(line), c.result);
        EXPECT_EQ(line, c.line);

        net::TLineReader pieces;
        R result = R::NeedMore;
        std::string piecesLine;
        for (std::size_t i = 0; i < c.input.size() && result == R::NeedMore; ++i) {
            pieces.Feed(&c.input[i], 1);
            result = pieces.TakeLine(piecesLine);
        }
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(piecesLine, c.line);
    }
}

TEST(LineReader, KeepsWhatFollowsALine)
{
    net::TLineReader reader;
    const std::string input = "one\r\ntwo\nthr";
    reader.Feed(input.data(), input.size());
    std::string line;
    ASSERT_EQ(reader.TakeLine(line), net::TLineReader::TResult::Line);
    EXPECT_EQ(line, "one");
    ASSERT_EQ(reader.TakeLine(line), net::TLineReader::TResult::Line);
    EXPECT_EQ(line, "two");
    EXPECT_EQ(reader.TakeLine(line), net::TLineReader::TResult::NeedMore);
    reader.Feed("ee\n", 3);
    ASSERT_EQ(reader.TakeLine(line), net::TLineReader::TResult::Line);
    EXPECT_EQ(line, "three");
}
