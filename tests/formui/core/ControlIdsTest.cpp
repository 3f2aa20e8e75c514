// The identifier table of the form window: every index a form can have gets
// one identifier of its own that leads back to it, forms within the old
// ranges keep the identifiers they always had, and the boundaries where the
// old ranges ran out or met now get identifiers that work.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/Diag.h"
#include "formdef/FormModel.h"
#include "formdef/FormSizeLimit.h"
#include "formdef/LineReader.h"
#include "formui/ControlIds.h"

namespace {

FormControlIds IdsOf(const std::vector<std::string>& lines)
{
    std::string text = "tool\ndesc\n";
    for (const std::string& line : lines) text += line + "\n";
    DiagCapture quiet;
    CFormModel form;
    LineReader reader(text);
    EXPECT_TRUE(form.ParseLines(reader));
    return AssignControlIds(form);
}

}  // namespace

TEST(ControlIds, EveryIndexUpToTheFormLimitHasADistinctIdentifierThatLeadsBack)
{
    const IdRange ranges[] = { IdRange::Sequential, IdRange::Browse, IdRange::Radio, IdRange::Action,
                               IdRange::RadioEdit };
    const std::set<int> fixed = { kDescriptionId, kContentPanelId, kRunButtonId, kRequiredGroupId, kScrollBarId };
    std::set<int> seen;
    for (IdRange range : ranges) {
        for (int index = 0; index < kMaxFormWindows; ++index) {
            const int id = ControlIdFor(range, index);
            ASSERT_GT(id, 0) << "index " << index;
            ASSERT_LT(id, 0xFFFF) << "index " << index;  // WM_COMMAND carries 16 bits
            ASSERT_EQ(0u, fixed.count(id));
            ASSERT_TRUE(seen.insert(id).second) << "identifier " << id << " given twice";
            if (range != IdRange::Sequential) {
                ASSERT_EQ(index, ControlIndexFromId(range, id)) << "identifier " << id;
            }
        }
    }
    // A handler never takes another range's identifier for one of its own.
    EXPECT_EQ(-1, ControlIndexFromId(IdRange::Action, ControlIdFor(IdRange::RadioEdit, 0)));
    EXPECT_EQ(-1, ControlIndexFromId(IdRange::Browse, ControlIdFor(IdRange::Sequential, 0)));
}

TEST(ControlIds, OldIdentifiersStayAndTheOldGapsAreClosed)
{
    // The identifiers forms have always had: required controls first in the
    // sequential numbers, index-based ones at base + index.
    FormControlIds ids = IdsOf({ "-a {{text}} Optional", "{{required file}} In", "{{radiostart}}", "-r R",
                                 "-t {{number}} Typed", "{{radioend}}", "{{drive}} D", "-c C", "{{button -b}} B" });
    EXPECT_EQ(2002, ids.controls[0].label);
    EXPECT_EQ(2003, ids.controls[0].edit);
    EXPECT_EQ(2000, ids.controls[1].label);
    EXPECT_EQ(2001, ids.controls[1].edit);
    EXPECT_EQ(3001, ids.controls[1].browse);
    EXPECT_EQ(5002, ids.controls[2].button);
    EXPECT_EQ(5003, ids.controls[3].button);
    EXPECT_EQ(8003, ids.controls[3].edit);
    EXPECT_EQ(2004, ids.controls[3].label);
    EXPECT_EQ(2005, ids.controls[4].label);
    EXPECT_EQ(2006, ids.controls[4].combo);
    EXPECT_EQ(kNoControlId, ids.controls[4].edit);
    EXPECT_EQ(2007, ids.controls[5].button);
    EXPECT_EQ(7006, ids.controls[6].button);
    EXPECT_EQ(2008, ids.nextSequentialId);

    // A path field at position 150 (the old Browse range ended at 3100).
    std::vector<std::string> lines(150, "-c C");
    lines.push_back("-f {{file}} F");
    ids = IdsOf(lines);
    EXPECT_EQ(3150, ids.controls[150].browse);
    EXPECT_EQ(150, ControlIndexFromId(IdRange::Browse, 3150));

    // A typed radio first and an action button at position 1000: they used
    // to share 8000.
    lines = { "{{radiostart}}", "-n {{text}} N", "{{radioend}}" };
    lines.resize(lines.size() + 999, "-c C");
    lines.push_back("{{button -go}} Go");
    ids = IdsOf(lines);
    EXPECT_EQ(8000, ids.controls[0].edit);
    EXPECT_NE(8000, ids.controls[1000].button);
    EXPECT_EQ(1000, ControlIndexFromId(IdRange::Action, ids.controls[1000].button));
    EXPECT_EQ(7999, ControlIdFor(IdRange::Action, 999));
}
