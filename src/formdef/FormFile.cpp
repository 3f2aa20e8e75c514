#include "formdef/FormFile.h"

#include <cstdio>

namespace {
const size_t kChunk = 64 * 1024;
}

bool ReadFormFile(const std::string& path, std::string& text, FormTextEncoding* found)
{
    text.clear();
    // Binary: line ends are the line reader's business. The path is the
    // program's 8-bit text, which the C runtime hands to the system as is.
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::string bytes;
    char chunk[kChunk];
    size_t got;
    // A short read means end of file or a read error; either way nothing
    // more will come.
    do {
        got = fread(chunk, 1, sizeof chunk, file);
        bytes.append(chunk, got);
    } while (got == sizeof chunk);
    // A folder opens on some systems and then fails to read: it is no
    // empty form.
    const bool failed = ferror(file) != 0;
    fclose(file);
    if (failed)
        return false;
    text = DecodeFormText(bytes, found);
    return true;
}
