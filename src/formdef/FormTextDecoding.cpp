#include "formdef/FormTextDecoding.h"

namespace {

const TextCodePages* g_codePages = nullptr;

const char kUtf8Mark[] = "\xEF\xBB\xBF";
const char kUtf16LEMark[] = "\xFF\xFE";
const char kUtf16BEMark[] = "\xFE\xFF";
const unsigned kReplacement = 0xFFFD;

bool StartsWith(const std::string& bytes, const char* mark, size_t length)
{
    return bytes.size() >= length && bytes.compare(0, length, mark, length) == 0;
}

void AppendUtf8(std::string& out, unsigned code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Length of the valid UTF-8 sequence at `at`, 0 when there is none: no
// overlong forms, no encoded surrogates, nothing above U+10FFFF.
size_t SequenceLength(const std::string& bytes, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned lead = byte(at);
    if (lead < 0x80)
        return 1;
    size_t length;
    unsigned low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (bytes.size() - at < length)
        return 0;
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    return length;
}

std::string ToProgram(const std::string& utf8)
{
    return g_codePages ? g_codePages->Utf8ToProgram(utf8) : utf8;
}

}  // namespace

void SetTextCodePages(const TextCodePages* codePages) { g_codePages = codePages; }

bool IsValidUtf8(const std::string& bytes)
{
    for (size_t at = 0; at < bytes.size();) {
        size_t length = SequenceLength(bytes, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::string Utf16ToUtf8(const std::string& bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size());
    const auto unitAt = [&](size_t i) {
        unsigned first = static_cast<unsigned char>(bytes[i]);
        unsigned second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (first << 8 | second) : (second << 8 | first);
    };
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        unsigned unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            unsigned next = unitAt(i + 2);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
    }
    if (i < bytes.size())
        AppendUtf8(out, kReplacement);
    return out;
}

std::string DecodeFormText(const std::string& bytes, FormTextEncoding* found)
{
    FormTextEncoding encoding;
    std::string utf8;
    if (StartsWith(bytes, kUtf8Mark, 3)) {
        // The mark says UTF-8: taken as such even where a byte is invalid.
        encoding = FormTextEncoding::Utf8WithMark;
        utf8 = bytes.substr(3);
    } else if (StartsWith(bytes, kUtf16LEMark, 2) || StartsWith(bytes, kUtf16BEMark, 2)) {
        bool bigEndian = bytes[0] == '\xFE';
        encoding = bigEndian ? FormTextEncoding::Utf16BE : FormTextEncoding::Utf16LE;
        utf8 = Utf16ToUtf8(bytes.substr(2), bigEndian);
    } else if (IsValidUtf8(bytes)) {
        encoding = FormTextEncoding::Utf8;
        utf8 = bytes;
    } else {
        encoding = FormTextEncoding::Legacy;
        utf8 = g_codePages ? g_codePages->LegacyToUtf8(bytes) : bytes;
    }
    if (found)
        *found = encoding;
    return ToProgram(utf8);
}
