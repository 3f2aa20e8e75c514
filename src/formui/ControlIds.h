#pragma once
// Identifiers of the form dialog's windows and the allocator that hands them
// out while the controls are created.
//
// Handlers find a control by subtracting the base of their range from the
// identifier, so an identifier must never land in a range it does not
// belong to: when a form is larger than the ranges serve, further windows
// get identifiers from an overflow range that no handler listens to.

#include <windows.h>

constexpr int kDescriptionId = -1;  // static text that is never addressed
constexpr int kContentPanelId = 0;
constexpr int kRunButtonId = IDOK;
constexpr int kRequiredGroupId = 1001;
constexpr int kScrollBarId = 1002;

constexpr int kFirstSequentialId = 2000;  // labels, edit boxes, drop-downs, checkboxes
constexpr int kSequentialIdLimit = 3000;  // first identifier the sequential range may not use
constexpr int kBrowseIdBase = 3000;
constexpr int kBrowseIdLast = 3100;
constexpr int kRadioIdBase = 5000;
constexpr int kRadioIdLast = 6000;
constexpr int kActionIdBase = 7000;
constexpr int kActionIdLast = 8000;
constexpr int kRadioEditIdBase = 8000;
constexpr int kRadioEditIdLast = 9000;
constexpr int kFirstOverflowId = 10000;
// WM_COMMAND carries the identifier in 16 bits: the overflow range stops
// below the point where it would wrap into the handled ranges.
constexpr int kLastOverflowId = 0xFFFE;

constexpr int kMaxActionButtons = 1000;
constexpr int kMaxBrowseButtons = 100;

class ControlIdAllocator {
public:
    // `nextSequentialId` is the dialog's counter; it is read and advanced.
    explicit ControlIdAllocator(int& nextSequentialId) : m_nextSequential(nextSequentialId) {}

    // The next identifier of the sequential range (2000 upward).
    int NextSequential();
    // base + index while that stays within [base, last]; otherwise an
    // overflow identifier.
    int Indexed(int base, int last, int index);

    bool Overflowed() const { return m_warned; }

private:
    int NextOverflow();

    int& m_nextSequential;
    int m_nextOverflow = kFirstOverflowId;
    bool m_warned = false;
};
