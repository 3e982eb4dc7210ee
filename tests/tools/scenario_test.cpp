#include <gtest/gtest.h>

#include "scenario.h"

using uidrv::ParseCases;
using uidrv::ParseScenario;
using uidrv::ScenarioError;
using uidrv::SplitWords;
using uidrv::Variables;

TEST(ScenarioWords, QuotesKeepBlanksAndEscapes)
{
    const auto words = SplitWords(R"(expect-text lb "  two  blanks" "say \"hi\"" back\slash # comment)", 1);
    ASSERT_EQ(words.size(), 5u);
    EXPECT_EQ(words[2], "  two  blanks");
    EXPECT_EQ(words[3], "say \"hi\"");
    EXPECT_EQ(words[4], "back\\slash");
}

TEST(ScenarioWords, LineBreaksInsideQuotesOnly)
{
    const auto words = SplitWords(R"(expect-text lb "one\r\ntwo\t3" C:\new)", 1);
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[2], "one\r\ntwo\t3");
    EXPECT_EQ(words[3], "C:\\new");  // unquoted: a path stays as written
}

TEST(ScenarioWords, EmptyQuotedWordIsAWord)
{
    const auto words = SplitWords(R"(expect-lines clb "")", 1);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[2], "");
}

TEST(ScenarioWords, UnterminatedQuoteNamesTheLine)
{
    try {
        SplitWords("press \"bnNext", 7);
        FAIL() << "no error";
    } catch (const ScenarioError& e) {
        EXPECT_EQ(e.Line(), 7);
    }
}

TEST(Scenario, StepsKeepTheirLineNumbersAndText)
{
    const auto steps = ParseScenario("# comment\n\nstart\r\n  press bnNext  \n", {});
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].line, 3);
    EXPECT_EQ(steps[1].line, 4);
    EXPECT_EQ(steps[1].text, "press bnNext");
}

TEST(Scenario, BlockLinesBecomeWordsOfTheirStep)
{
    const auto steps = ParseScenario("expect-lines clb {\n  \"a b\"\n\n  \"  c\"\n}\nexit 0\n", {});
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].words, (std::vector<std::string>{"expect-lines", "clb", "a b", "  c"}));
    EXPECT_EQ(steps[1].line, 6);
}

TEST(Scenario, UnclosedBlockIsAnError)
{
    EXPECT_THROW(ParseScenario("expect-lines clb {\n\"a\"\n", {}), ScenarioError);
}

TEST(Scenario, VariablesExpandBeforeSplitting)
{
    const Variables vars{{"LINES", R"("one" "two three")"}};
    const auto steps = ParseScenario("set ITEM User Application\ncheck clb \"${ITEM}\" yes\nexpect-lines l ${LINES}\n",
                                     vars);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].words[2], "User Application");
    EXPECT_EQ(steps[1].words, (std::vector<std::string>{"expect-lines", "l", "one", "two three"}));
}

TEST(Scenario, UnknownVariableIsAnErrorNotEmptyText)
{
    EXPECT_THROW(ParseScenario("type leFolder \"${FOLDR}\"\n", {{"FOLDER", "x"}}), ScenarioError);
}

TEST(ScenarioCases, EachCaseHoldsItsOwnVariables)
{
    const auto cases = ParseCases("# table\ncase clean\nset FIXTURE\nset OK yes\n\ncase vendor\nset FIXTURE vendor\n");
    ASSERT_EQ(cases.size(), 2u);
    EXPECT_EQ(cases.at("clean").at("FIXTURE"), "");
    EXPECT_EQ(cases.at("clean").at("OK"), "yes");
    EXPECT_EQ(cases.at("vendor").count("OK"), 0u);
}

TEST(ScenarioCases, DuplicateOrStrayLinesAreErrors)
{
    EXPECT_THROW(ParseCases("case a\ncase a\n"), ScenarioError);
    EXPECT_THROW(ParseCases("set X 1\n"), ScenarioError);
    EXPECT_THROW(ParseCases("case a\npress bnNext\n"), ScenarioError);
}

TEST(Scenario, ValuesMayNameOtherVariables)
{
    const auto steps = ParseScenario("expect-text leHost \"${HOST_TEXT}\"\n",
                                     {{"HOST_TEXT", "${LOCAL_ADDRESS}"}, {"LOCAL_ADDRESS", "10.1.2.3"}});
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].words[2], "10.1.2.3");
    EXPECT_THROW(ParseScenario("x ${A}\n", {{"A", "${B}"}, {"B", "${A}"}}), ScenarioError);
}

TEST(Scenario, IncludeTakesTheStepsOfTheFileInItsPlace)
{
    const std::map<std::string, std::string> files{
        {"prelude.inc", "set WHO Setup\nstart\nwindow \"${WHO}\"\n"},
        {"loop.inc", "include loop.inc\n"}};
    const uidrv::IncludeReader read = [&files](const std::string& name) {
        const auto it = files.find(name);
        if (it == files.end()) throw std::runtime_error("no file " + name);
        return it->second;
    };
    const auto steps = ParseScenario("# head\ninclude prelude.inc\npress bnNext \"${WHO}\"\n", {}, read);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].words, (std::vector<std::string>{"start"}));
    EXPECT_EQ(steps[1].words, (std::vector<std::string>{"window", "Setup"}));
    EXPECT_EQ(steps[1].line, 2);  // the include line of the scenario
    EXPECT_EQ(steps[1].text, "prelude.inc:3: window \"Setup\"");
    EXPECT_EQ(steps[2].words, (std::vector<std::string>{"press", "bnNext", "Setup"}));  // its set holds on
    EXPECT_EQ(steps[2].line, 3);

    EXPECT_THROW(ParseScenario("include loop.inc\n", {}, read), ScenarioError);
    EXPECT_THROW(ParseScenario("include\n", {}, read), ScenarioError);
    EXPECT_THROW(ParseScenario("include prelude.inc\n", {}), ScenarioError);  // no files to read from
    EXPECT_THROW(ParseScenario("include missing.inc\n", {}, read), std::runtime_error);
}
