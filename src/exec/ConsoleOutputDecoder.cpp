#include "exec/ConsoleOutputDecoder.h"

#include <utility>

namespace {

// Length of the UTF-8 sequence a lead byte starts; 0 for a byte that
// cannot start one.
size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The allowed range of the byte after a lead byte: no overlong forms, no
// surrogates, nothing above U+10FFFF.
bool SecondByteFits(unsigned char lead, unsigned char second)
{
    unsigned char low = 0x80, high = 0xBF;
    if (lead == 0xE0)
        low = 0xA0;
    else if (lead == 0xED)
        high = 0x9F;
    else if (lead == 0xF0)
        low = 0x90;
    else if (lead == 0xF4)
        high = 0x8F;
    return second >= low && second <= high;
}

enum class Utf8Check { Valid, Invalid };

// Checks `text` as UTF-8; an incomplete but so far valid sequence at the end
// is allowed and its start returned in `incompleteFrom` (text.size() when
// there is none).
Utf8Check CheckUtf8(const std::string& text, size_t& incompleteFrom, bool& multiByte)
{
    incompleteFrom = text.size();
    multiByte = false;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = SequenceLength(lead);
        if (length == 0)
            return Utf8Check::Invalid;
        if (length == 1) {
            ++i;
            continue;
        }
        for (size_t k = 1; k < length; ++k) {
            if (i + k == text.size()) {
                incompleteFrom = i;
                return Utf8Check::Valid;
            }
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            const bool fits = k == 1 ? SecondByteFits(lead, next) : (next & 0xC0) == 0x80;
            if (!fits)
                return Utf8Check::Invalid;
        }
        multiByte = true;
        i += length;
    }
    return Utf8Check::Valid;
}

}  // namespace

// An unfinished line held longer than this is decided as far as it goes.
constexpr size_t kLongestHeldLine = 64 * 1024;

ConsoleOutputDecoder::ConsoleOutputDecoder(OemToUtf8 convert, OemLeadByte leadByte)
    : oemToUtf8(std::move(convert)), isOemLeadByte(std::move(leadByte))
{
}

std::string ConsoleOutputDecoder::Decode(const std::string& bytes)
{
    held += bytes;
    std::string out;
    size_t start = 0;
    for (size_t end = held.find_first_of("\r\n"); end != std::string::npos;
         end = held.find_first_of("\r\n", start)) {
        std::string unused;
        out += DecodeLine(held.substr(start, end + 1 - start), true, unused);
        start = end + 1;
    }
    // Plain ASCII at the start of the unfinished line reads the same either way.
    while (start < held.size() && static_cast<unsigned char>(held[start]) < 0x80)
        out.push_back(held[start++]);
    held.erase(0, start);
    if (held.size() >= kLongestHeldLine)
        out += FlushPause();
    return out;
}

std::string ConsoleOutputDecoder::FlushPause()
{
    std::string line;
    line.swap(held);
    return DecodeLine(line, false, held);
}

std::string ConsoleOutputDecoder::DecodeLine(const std::string& line, bool final, std::string& rest)
{
    size_t incompleteFrom = 0;
    bool multiByte = false;
    if (CheckUtf8(line, incompleteFrom, multiByte) == Utf8Check::Valid && (!final || incompleteFrom == line.size())) {
        if (multiByte)
            last = Encoding::Utf8;
        rest = line.substr(incompleteFrom);  // empty when final
        return line.substr(0, incompleteFrom);
    }
    last = Encoding::Oem;
    return DecodeOem(line, final, rest);
}

std::string ConsoleOutputDecoder::DecodeOem(std::string bytes, bool final, std::string& rest)
{
    if (!final) {
        // A lead byte without its second byte waits for the next piece.
        size_t i = 0;
        while (i < bytes.size())
            i += isOemLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i > bytes.size()) {
            rest = bytes.substr(bytes.size() - 1);
            bytes.pop_back();
        }
    }
    return bytes.empty() ? std::string() : oemToUtf8(bytes);
}

std::string ConsoleOutputDecoder::Flush()
{
    if (held.empty())
        return std::string();
    std::string line;
    line.swap(held);
    return DecodeLine(line, true, held);
}

void ConsoleOutputDecoder::Reset()
{
    held.clear();
    last = Encoding::Unknown;
}
