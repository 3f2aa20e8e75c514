#include "exec/FontMetrics.h"

TEXTMETRICA MeasureFont(HWND window, HFONT font)
{
    TEXTMETRICA metrics = {};
    HDC dc = ::GetDC(window);
    if (dc == nullptr)
        return metrics;
    HGDIOBJ previous = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    ::GetTextMetricsA(dc, &metrics);
    if (previous != nullptr)
        ::SelectObject(dc, previous);
    ::ReleaseDC(window, dc);
    return metrics;
}
