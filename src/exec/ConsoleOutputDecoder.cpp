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

ConsoleOutputDecoder::ConsoleOutputDecoder(OemToUtf8 convert, OemLeadByte leadByte)
    : oemToUtf8(std::move(convert)), isOemLeadByte(std::move(leadByte))
{
}

std::string ConsoleOutputDecoder::Decode(const std::string& bytes)
{
    std::string work = held + bytes;
    held.clear();
    if (!oem) {
        size_t incompleteFrom = 0;
        bool multiByte = false;
        if (CheckUtf8(work, incompleteFrom, multiByte) == Utf8Check::Valid) {
            sawUtf8 = sawUtf8 || multiByte;
            held = work.substr(incompleteFrom);
            work.erase(incompleteFrom);
            return work;
        }
        oem = true;
    }
    return DecodeOem(std::move(work), false);
}

std::string ConsoleOutputDecoder::DecodeOem(std::string bytes, bool final)
{
    if (!final) {
        // A lead byte without its second byte waits for the next piece.
        size_t i = 0;
        while (i < bytes.size())
            i += isOemLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i > bytes.size()) {
            held = bytes.substr(bytes.size() - 1);
            bytes.pop_back();
        }
    }
    return bytes.empty() ? std::string() : oemToUtf8(bytes);
}

std::string ConsoleOutputDecoder::Flush()
{
    if (held.empty())
        return std::string();
    // Never completed, so it was not UTF-8.
    std::string rest;
    rest.swap(held);
    return DecodeOem(std::move(rest), true);
}

void ConsoleOutputDecoder::Reset()
{
    held.clear();
    oem = false;
    sawUtf8 = false;
}
