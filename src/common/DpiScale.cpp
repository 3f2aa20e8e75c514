#include "common/DpiScale.h"

#include <cstdint>

int RescaleDpi(int value, int fromDpi, int toDpi)
{
    if (fromDpi <= 0)
        fromDpi = kDefaultDpi;
    if (toDpi <= 0)
        toDpi = kDefaultDpi;
    if (fromDpi == toDpi)
        return value;
    const int64_t product = static_cast<int64_t>(value) * toDpi;
    const int64_t half = fromDpi / 2;
    const int64_t rounded = product >= 0 ? (product + half) / fromDpi : -((-product + half) / fromDpi);
    return static_cast<int>(rounded);
}

int ScaleForDpi(int value96, int dpi) { return RescaleDpi(value96, kDefaultDpi, dpi); }
