// The wizard's rules without windows, and the order of the startup phases.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "platform/net/host.h"
#include "protocol/install_query.h"
#include "platform/rtl/sysutils.h"
#include "wizard/stage_rules.h"

TEST(StageOne, CompleteWithAComponentAndAFolder)
{
    struct Case {
        TComponentChoice choice;
        const char* folder;
        bool complete;
    };
    const Case cases[] = {
        {{false, false, false}, "C:\\Program Files\\Bsk\\quorvane", false},
        {{true, false, false}, "C:\\Program Files\\Bsk\\quorvane", true},
        {{false, true, false}, "C:\\x", true},
        {{false, false, true}, "C:\\x", true},
        {{true, true, true}, "C:\\x", true},
        {{true, true, true}, "", false},
        {{false, false, true}, " ", true},  // the folder is not checked beyond being empty
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StageOneComplete(c.choice, c.folder), c.complete)
            << c.choice.Server << c.choice.Agent << c.choice.UserApp << " '" << c.folder << "'";
    }
}

TEST(StageTwo, EnabledFieldsFollowTheFirstRuleThatApplies)
{
    struct Case {
        TComponentChoice choice;
        TConnectionFields fields;
    };
    const TConnectionFields all{true, true, true, true, true};
    const TConnectionFields agent{true, true, false, false, false};
    const TConnectionFields data{false, false, false, false, true};
    const Case cases[] = {
        {{true, false, false}, all},  {{true, true, false}, all},    {{true, false, true}, all},
        {{true, true, true}, all},    {{false, true, false}, agent}, {{false, true, true}, agent},
        {{false, false, true}, data},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConnectionFieldsFor(c.choice), c.fields) << c.choice.Server << c.choice.Agent << c.choice.UserApp;
}

TEST(Defaults, DestinationFolderJoinsWithoutChecks)
{
    EXPECT_EQ(DefaultDestinationFolder("C:\\Program Files"), "C:\\Program Files\\Bsk\\quorvane");
    EXPECT_EQ(DefaultDestinationFolder("C:\\Program Files (x86)"), "C:\\Program Files (x86)\\Bsk\\quorvane");
    EXPECT_EQ(DefaultDestinationFolder(""), "\\Bsk\\quorvane");
}

TEST(Startup, PhasesRunWhileTheResultsArePositive)
{
    struct Case {
        int licence, detection, wizard;
        std::string shown;  // phases shown, "M" for the closing message
    };
    const Case cases[] = {
        {2, 1, 1, "L"},      // Disagree, Esc or closed: nothing more, no message
        {0, 1, 1, "L"},
        {7, 1, 1, "L"},      // No is not positive
        {1, 2, 1, "LD"},     // detection cancelled or blocked
        {1, 1, 2, "LDW"},    // wizard cancelled or failed run
        {1, 1, 1, "LDWM"},   // completed run
        {6, 8, 1, "LDWM"},   // Yes and All count as positive
        {10, 1, 6, "LDW"},   // only exactly OK from the wizard is a completed run
    };
    for (const Case& c : cases) {
        std::string shown;
        RunStartupSequence({[&] { shown += 'L'; return c.licence; }, [&] { shown += 'D'; return c.detection; },
                            [&] { shown += 'W'; return c.wizard; }, [&] { shown += 'M'; }});
        EXPECT_EQ(shown, c.shown) << c.licence << " " << c.detection << " " << c.wizard;
    }
}
