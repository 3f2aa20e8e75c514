#include "config/RtfStream.h"

#include <richedit.h>

#include <cstring>

namespace {

struct RtfSource {
    const BYTE* data;
    DWORD size;
    DWORD position;
};

DWORD CALLBACK ReadRtfChunk(DWORD_PTR cookie, LPBYTE buffer, LONG requested, LONG* copied)
{
    RtfSource* source = reinterpret_cast<RtfSource*>(cookie);
    DWORD remaining = source->size - source->position;
    DWORD count = requested > 0 && static_cast<DWORD>(requested) < remaining ? static_cast<DWORD>(requested) : remaining;
    if (requested <= 0)
        count = 0;
    std::memcpy(buffer, source->data + source->position, count);
    source->position += count;
    *copied = static_cast<LONG>(count);  // 0 ends the stream
    return 0;
}

}  // namespace

DWORD StreamRtfIntoControl(HWND richEdit, const void* data, DWORD size)
{
    RtfSource source = {static_cast<const BYTE*>(data), size, 0};
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadRtfChunk;
    ::SendMessageA(richEdit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError;
}
