#pragma once
// Child output turned into UTF-8 text for the console, as plain string logic.
//
// Modern tools write UTF-8; a console program without a console writes in
// the system's OEM code page. The choice is made per line (text up to a
// line feed or carriage return): a line that is valid UTF-8 is UTF-8, any
// other line is in the OEM code page. So the text shown never depends on
// where the pipe cut the output, and one stray byte spoils one line only.
// The beginning of an unfinished line shows at once as long as it is plain
// ASCII (the same in either encoding); from its first other byte it waits
// for the line's end, for the end of the output or for the output to pause,
// and a line that grows very long is decided in pieces.

#include <functional>
#include <string>

class ConsoleOutputDecoder {
public:
    // Converts complete text in the OEM code page to UTF-8.
    using OemToUtf8 = std::function<std::string(const std::string&)>;
    // True for a byte that starts a two-byte character in the OEM code page.
    using OemLeadByte = std::function<bool(unsigned char)>;

    ConsoleOutputDecoder(OemToUtf8 oemToUtf8, OemLeadByte isOemLeadByte);

    // The UTF-8 text of `bytes`, following what was held back before; the
    // undecided rest of an unfinished line is held back for the next piece.
    std::string Decode(const std::string& bytes);

    // The output has ended: what is held back is decided as it is.
    std::string Flush();
    // The output paused: the unfinished line shows as far as it can be
    // decided; only an unfinished character waits on.
    std::string FlushPause();

    // A new run: nothing held, nothing decided.
    void Reset();

    // The encoding of the last line that held characters beyond ASCII (the
    // child likely reads what it writes).
    bool SawUtf8() const { return last == Encoding::Utf8; }
    bool IsOem() const { return last == Encoding::Oem; }

private:
    enum class Encoding { Unknown, Utf8, Oem };
    // One line (or the decided part of a very long one); `final` when no
    // more bytes of it can follow, else an unfinished character is left in
    // `rest`.
    std::string DecodeLine(const std::string& line, bool final, std::string& rest);
    std::string DecodeOem(std::string bytes, bool final, std::string& rest);

    OemToUtf8 oemToUtf8;
    OemLeadByte isOemLeadByte;
    std::string held;
    Encoding last = Encoding::Unknown;
};
