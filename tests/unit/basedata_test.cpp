#include <gtest/gtest.h>

#include "query/uQueryData.h"
#include "platform/rtl/sysutils.h"

namespace {

// A query that appends one line and, on request, sub-items; or fails half-way.
class TSample : public TQueryData {
public:
    explicit TSample(bool runAtOnce = false, int items = 0, bool fail = false)
        : TQueryData("Sample", "test"), items_(items), fail_(fail)
    {
        if (runAtOnce) Query();
    }
    const char* ClassName() const override { return "TSample"; }
    int Query() override
    {
        if (State() != 0) return State();
        SetState(-1);
        List().Add("Found=yes");
        if (fail_) return State();
        for (int i = 0; i < items_; ++i) AddItem().Add("Item=" + std::to_string(i));
        SetState(1);
        return State();
    }

private:
    int items_;
    bool fail_;
};

std::vector<std::string> TextForm(const TBaseData& data)
{
    rtl::TStringList text{"stale line"};
    data.AssignTo(&text);
    return text.Lines();
}

}  // namespace

TEST(QueryData, BaseObjectHoldsOnlyEmptyLabels)
{
    TQueryData q(true);
    EXPECT_EQ(q.List().Lines(), (std::vector<std::string>{"Class=", "Type="}));
    EXPECT_EQ(q.Count(), 0);
    EXPECT_EQ(q.State(), 0);
    EXPECT_EQ(q.Query(), 0);
    EXPECT_EQ(q.List().Count(), 2);
}

TEST(QueryData, CountLineStaysWhereTheFirstItemCame)
{
    TBaseData d;
    d.List().Add("Before=1");
    d.AddItem().Add("a");
    d.List().Add("Between=1");
    d.AddItem();
    d.AddItem();
    EXPECT_EQ(d.List().Lines(), (std::vector<std::string>{"Class=", "Type=", "Before=1", "Count=3", "Between=1"}));
    EXPECT_EQ(d.GetValue("count"), "3");
}

TEST(QueryData, FirstItemAppendsCountEvenWhenOneExists)
{
    TBaseData d;
    d.List().Add("Count=99");
    d.AddItem();
    EXPECT_EQ(d.List().Lines(), (std::vector<std::string>{"Class=", "Type=", "Count=99", "Count=1"}));
    d.AddItem();  // later items update the first "Count" line in place
    EXPECT_EQ(d.List().Lines(), (std::vector<std::string>{"Class=", "Type=", "Count=2", "Count=1"}));
}

TEST(QueryData, ItemsOutsideTheRangeAreNone)
{
    TBaseData d;
    d.AddItem().Add("x");
    ASSERT_NE(d.Items(0), nullptr);
    EXPECT_EQ(d.Items(0)->Lines(), (std::vector<std::string>{"x"}));
    EXPECT_EQ(d.Items(1), nullptr);
    EXPECT_EQ(d.Items(-1), nullptr);
}

TEST(QueryData, QueryRunsOnce)
{
    for (bool fail : {false, true}) {
        TSample q(false, 1, fail);
        const int state = q.Query();
        EXPECT_EQ(state, fail ? -1 : 1);
        const auto lines = q.List().Lines();
        EXPECT_EQ(q.Query(), state);
        EXPECT_EQ(q.List().Lines(), lines);
        EXPECT_EQ(q.Count(), fail ? 0 : 1);
    }
}

TEST(QueryData, RunAtOnceEqualsQueryAfterwards)
{
    TSample atOnce(true, 2);
    TSample later(false, 2);
    later.Query();
    EXPECT_EQ(atOnce.State(), later.State());
    EXPECT_EQ(TextForm(atOnce), TextForm(later));
    EXPECT_EQ(atOnce.List().Lines()[0], "Class=Sample");
    EXPECT_EQ(atOnce.GetDataClass(), "Sample");
    EXPECT_EQ(atOnce.GetDataType(), "test");
}

TEST(QueryData, AssignCopiesStateLinesAndExactlyTheSourceItems)
{
    TSample source(false, 2);
    source.Query();
    source.SetState(-1);
    TSample target(false, 5);
    target.Query();
    ASSERT_EQ(target.Count(), 5);

    target.Assign(&source);
    EXPECT_EQ(target.State(), -1);
    EXPECT_EQ(target.Count(), 2);
    EXPECT_EQ(target.List().Lines(), source.List().Lines());
    EXPECT_EQ(TextForm(target), TextForm(source));
    // A deep copy: the source's lists are not shared.
    source.Items(0)->Add("changed");
    EXPECT_EQ(target.Items(0)->Count(), 1);

    TBaseData plain;
    plain.Assign(&source);  // a plain data object takes the lines but has no state
    EXPECT_EQ(plain.Count(), 2);
}

TEST(QueryData, AssignFromOrToForeignObjectsRaises)
{
    TSample q(true, 1);
    rtl::TStringList list{"a=b"};
    const auto before = q.List().Lines();
    try {
        q.Assign(&list);
        FAIL();
    } catch (const rtl::EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TStringList to a TSample");
    }
    EXPECT_EQ(q.List().Lines(), before);
    EXPECT_EQ(q.Count(), 1);

    TSample other;
    try {
        q.AssignTo(&other);  // the text form goes only into string lists
        FAIL();
    } catch (const rtl::EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TSample to a TSample");
    }
}

TEST(QueryData, TextFormIsMainLinesThenEachItem)
{
    TSample none(true, 0);
    EXPECT_EQ(TextForm(none), none.List().Lines());

    TSample two(true, 2);
    EXPECT_EQ(TextForm(two), (std::vector<std::string>{"Class=Sample", "Type=test", "Found=yes", "Count=2", "Item=0",
                                                       "Item=1"}));
}
