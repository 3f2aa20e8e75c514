#pragma once
// The values a form remembers between openings, and how they find their
// controls again. Windowless: the form dialog reads and sets the windows;
// this unit names the controls, writes and reads the store text, and
// matches stored values to the controls of a form that may have been edited
// since they were stored.

#include <string>
#include <vector>

class CControlDef;

// What a control is, as far as its value is concerned. A stored value goes
// back to the control of the same identity, wherever the control moved in
// the form, so controls added or removed elsewhere do not shift it.
struct ControlIdentity {
    // "field", "drive", "checkbox", "radio" or "typedradio"; empty for an
    // action button, which has no value to remember.
    std::string kind;
    std::string flag;
    std::string type;
    std::string label;
    // How many earlier controls of the form share kind, flag, type and label.
    int place = 0;

    bool operator==(const ControlIdentity& other) const
    {
        return kind == other.kind && flag == other.flag && type == other.type && label == other.label &&
               place == other.place;
    }
};

struct RememberedValue {
    ControlIdentity control;
    std::string text;      // edit box or drive text (a typed radio has both)
    bool checked = false;  // checkbox and radio buttons
};

// The identities of the controls, in the order given.
std::vector<ControlIdentity> IdentifyControls(const std::vector<const CControlDef*>& controls);

// `formKey` is the form file's full path, case-folded by the caller. The
// store keeps one file per form, named after a hash of the key.
std::string RememberedValuesFileName(const std::string& formKey);

// The store file's text. Every string is kept byte for byte, whatever its
// encoding.
std::string SerializeRememberedValues(const std::string& formKey, const std::vector<RememberedValue>& values);

// False, with `values` empty, for text that is damaged, written by a newer
// version of the format, or stored for another form (a hash clash).
bool ParseRememberedValues(const std::string& text, const std::string& formKey, std::vector<RememberedValue>& values);

// For every control in `current`, the stored value with the same identity,
// or null when the form had no such control when the values were stored.
std::vector<const RememberedValue*> MatchRememberedValues(const std::vector<ControlIdentity>& current,
                                                          const std::vector<RememberedValue>& stored);
