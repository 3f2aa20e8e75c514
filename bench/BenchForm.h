#pragma once
// The form of the form-open benchmark: the mix of controls a real form has.
// The benchmark writes it as a form file for tavrel.exe, and the bare
// baseline program creates the same windows from it, so that both open the
// same form.

#include <string>
#include <vector>

enum class BenchKind { RequiredText, Number, Text, File, Folder, Drive, Checkbox, Radio };

struct BenchControl {
    BenchKind kind;
    int line;              // number used in the control's flag and text
    bool firstInGroup;     // radios: the first of their group
    bool lastInGroup;      // radios: the last of their group
};

inline std::vector<BenchControl> BenchFormControls(int count)
{
    std::vector<BenchControl> controls;
    for (int i = 0; static_cast<int>(controls.size()) < count; ++i) {
        switch (i % 10) {
        case 0: controls.push_back({ BenchKind::RequiredText, i, false, false }); break;
        case 1: controls.push_back({ BenchKind::Number, i, false, false }); break;
        case 2:
            // Path fields stay well below the 100 Browse buttons a form is
            // announced to support, or a warning box would open first.
            controls.push_back({ (i / 10) % 2 == 0 ? BenchKind::File : BenchKind::Text, i, false, false });
            break;
        case 5:
            for (int r = 0; r < 3 && static_cast<int>(controls.size()) < count; ++r)
                controls.push_back({ BenchKind::Radio, i * 10 + r, r == 0, false });
            controls.back().lastInGroup = true;
            break;
        case 6: controls.push_back({ BenchKind::Text, i, false, false }); break;
        case 7:
            controls.push_back({ (i / 10) % 4 == 1 ? BenchKind::Folder : BenchKind::Drive, i, false, false });
            break;
        default: controls.push_back({ BenchKind::Checkbox, i, false, false }); break;
        }
    }
    return controls;
}

// The form file's text: a command, a description and one line per control.
inline std::string BenchFormText(int count)
{
    std::string text = "cmd /c echo\r\nA benchmark form of " + std::to_string(count) + " controls.\r\n";
    for (const BenchControl& c : BenchFormControls(count)) {
        const std::string n = std::to_string(c.line);
        switch (c.kind) {
        case BenchKind::RequiredText: text += "{{required text}} Required text " + n; break;
        case BenchKind::Number: text += "-n" + n + " {{number}} Number " + n; break;
        case BenchKind::Text: text += "-t" + n + " {{text}} Text " + n; break;
        case BenchKind::File: text += "-f" + n + " {{file}} Input file " + n; break;
        case BenchKind::Folder: text += "-d" + n + " {{dir}} Folder " + n; break;
        case BenchKind::Drive: text += "{{drive}} -v" + n + " Drive " + n; break;
        case BenchKind::Checkbox: text += "-c" + n + " Checkbox " + n + " with a label of a few words"; break;
        case BenchKind::Radio:
            if (c.firstInGroup)
                text += "{{radiostart}}\r\n";
            text += "-r" + n + " Choice " + n;
            if (c.lastInGroup)
                text += "\r\n{{radioend}}";
            break;
        }
        text += "\r\n";
    }
    return text;
}
