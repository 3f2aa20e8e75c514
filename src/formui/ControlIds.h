#pragma once
// The identifiers of the form dialog's windows: one table, and the pure
// function that gives every window of a parsed form its identifier. The form
// window creates its controls with them and its message map routes by them;
// tavrel-lint prints them. Windowless.
//
// Fixed windows: the Run button 1 (IDOK), the description -1, the content
// panel 0, the "Required" group box 1001, the scroll bar 1002.
//
// Control windows come from disjoint blocks. Labels, edit boxes, drive
// drop-downs and checkboxes are numbered in creation order (required
// controls first), starting at 2000. Browse buttons, radio buttons, action
// buttons and typed-radio edit boxes carry their control's index (its
// position in the form): base + index, so a handler finds the control by
// subtracting the base. Each of those kinds has a first block, which holds
// the identifiers forms have always had, and an extension block for the
// indexes beyond it; together they serve every index a form within
// kMaxFormWindows can have.

#include <string>
#include <vector>

class CFormModel;

constexpr int kDescriptionId = -1;  // static text that is never addressed
constexpr int kContentPanelId = 0;
constexpr int kRunButtonId = 1;  // IDOK
constexpr int kRequiredGroupId = 1001;
constexpr int kScrollBarId = 1002;
constexpr int kNoControlId = 0;  // "this window does not exist" in ControlWindowIds

enum class IdRange { Sequential, Browse, Radio, Action, RadioEdit };

// A block of identifiers: `first` stands for index (or creation number)
// `firstIndex`, and each next identifier for the next one.
struct IdBlock {
    IdRange range;
    int first;
    int last;
    int firstIndex;
};

constexpr int kFirstSequentialId = 2000;
constexpr int kBrowseIdBase = 3000, kBrowseIdLast = 3999;
constexpr int kRadioIdBase = 5000, kRadioIdLast = 6000;
constexpr int kActionIdBase = 7000, kActionIdLast = 7999;
constexpr int kRadioEditIdBase = 8000, kRadioEditIdLast = 9000;
constexpr int kBrowseExtFirst = 10000, kBrowseExtLast = 11999;
constexpr int kRadioExtFirst = 12000, kRadioExtLast = 13998;
constexpr int kActionExtFirst = 14000, kActionExtLast = 15999;
constexpr int kRadioEditExtFirst = 16000, kRadioEditExtLast = 17998;

constexpr IdBlock kIdBlocks[] = {
    { IdRange::Sequential, kFirstSequentialId, 2999, 0 },
    { IdRange::Browse, kBrowseIdBase, kBrowseIdLast, 0 },
    { IdRange::Radio, kRadioIdBase, kRadioIdLast, 0 },
    { IdRange::Action, kActionIdBase, kActionIdLast, 0 },
    { IdRange::RadioEdit, kRadioEditIdBase, kRadioEditIdLast, 0 },
    { IdRange::Browse, kBrowseExtFirst, kBrowseExtLast, 1000 },
    { IdRange::Radio, kRadioExtFirst, kRadioExtLast, 1001 },
    { IdRange::Action, kActionExtFirst, kActionExtLast, 1000 },
    { IdRange::RadioEdit, kRadioEditExtFirst, kRadioEditExtLast, 1001 },
    { IdRange::Sequential, 18000, 19999, 1000 },
};

// The identifier for `index` in `range`; kNoControlId beyond the table.
int ControlIdFor(IdRange range, int index);
// The index a handler of `range` reads from `id`; -1 when `id` is none of
// that range's.
int ControlIndexFromId(IdRange range, int id);

// The identifiers of one control's windows; kNoControlId where its kind has
// no such window.
struct ControlWindowIds {
    int label = kNoControlId;
    int edit = kNoControlId;
    int button = kNoControlId;
    int combo = kNoControlId;
    int browse = kNoControlId;
};

struct FormControlIds {
    std::vector<ControlWindowIds> controls;  // one per control, in form order
    int nextSequentialId = kFirstSequentialId;  // the first one left unused
};

// Every window of the form, as the form window creates them: required
// controls first, then the others, each in form order.
FormControlIds AssignControlIds(const CFormModel& form);
