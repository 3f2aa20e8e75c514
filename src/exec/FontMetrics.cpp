#include "exec/FontMetrics.h"

#include "framework/Handles.h"

TEXTMETRICA MeasureFont(HWND window, HFONT font)
{
    TEXTMETRICA metrics = {};
    WindowDC dc(window);
    if (dc.Get() == nullptr)
        return metrics;
    if (font == nullptr) {
        ::GetTextMetricsA(dc.Get(), &metrics);
        return metrics;
    }
    SelectedObject selected(dc.Get(), font);
    ::GetTextMetricsA(dc.Get(), &metrics);
    return metrics;
}
