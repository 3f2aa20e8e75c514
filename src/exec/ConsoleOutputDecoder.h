#pragma once
// Child output turned into UTF-8 text for the console, as plain string logic.
//
// Modern tools write UTF-8; a console program without a console writes in
// the system's OEM code page. Each piece is taken as UTF-8 while the output
// is valid UTF-8; the first piece that is not decides that the output is in
// the OEM code page, for the rest of the run. A character cut between two
// pieces is held back until the rest arrives, so it shows once and right.

#include <functional>
#include <string>

class ConsoleOutputDecoder {
public:
    // Converts complete text in the OEM code page to UTF-8.
    using OemToUtf8 = std::function<std::string(const std::string&)>;
    // True for a byte that starts a two-byte character in the OEM code page.
    using OemLeadByte = std::function<bool(unsigned char)>;

    ConsoleOutputDecoder(OemToUtf8 oemToUtf8, OemLeadByte isOemLeadByte);

    // The UTF-8 text of `bytes`, following what was held back before; an
    // incomplete character at the end is held back for the next piece.
    std::string Decode(const std::string& bytes);

    // The output has ended: what is held back can never be completed.
    std::string Flush();

    // A new run: nothing held, nothing decided.
    void Reset();

    // The output has shown UTF-8 characters (so the child likely reads
    // UTF-8 too).
    bool SawUtf8() const { return sawUtf8; }
    bool IsOem() const { return oem; }

private:
    std::string DecodeOem(std::string bytes, bool final);

    OemToUtf8 oemToUtf8;
    OemLeadByte isOemLeadByte;
    std::string held;
    bool oem = false;
    bool sawUtf8 = false;
};
