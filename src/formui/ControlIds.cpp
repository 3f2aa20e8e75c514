#include "formui/ControlIds.h"

#include "common/Diag.h"

int ControlIdAllocator::NextSequential()
{
    if (m_nextSequential < kSequentialIdLimit)
        return m_nextSequential++;
    return NextOverflow();
}

int ControlIdAllocator::Indexed(int base, int last, int index)
{
    if (index >= 0 && index <= last - base)
        return base + index;
    return NextOverflow();
}

int ControlIdAllocator::NextOverflow()
{
    if (!m_warned) {
        m_warned = true;
        Diag("WARNING: Control identifiers exhausted - further controls get identifiers from %d\n",
             m_nextOverflow);
    }
    if (m_nextOverflow >= kLastOverflowId)
        return kLastOverflowId;
    return m_nextOverflow++;
}
