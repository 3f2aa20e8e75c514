#pragma once
// The values a form remembers between openings, its run history and
// presets, and how stored values find their controls again. Windowless: the form dialog reads and sets the windows;
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

// A run the form started, as its history keeps it.
enum class RunEnding {
    Exited,      // the command ended by itself; its exit code counts
    Terminated,  // the user ended it from the console
    Cancelled,   // the console was closed while the command still ran
};

struct RunRecord {
    long long startedUtc = 0;  // seconds since 1970-01-01 00:00 UTC
    long long durationMs = 0;
    std::string commandLine;   // as the console's title showed it
    RunEnding ending = RunEnding::Exited;
    int exitCode = 0;
    // The action button that started the run; `pressedButton` false: Run.
    bool pressedButton = false;
    ControlIdentity button;
    std::vector<RememberedValue> values;
};

struct ValuePreset {
    std::string name;
    std::vector<RememberedValue> values;
};

// Everything a form's store file holds.
struct FormStore {
    std::vector<RememberedValue> values;
    std::vector<ValuePreset> presets;  // in name order
    std::vector<RunRecord> history;    // newest first
};

// The identities of the controls, in the order given.
std::vector<ControlIdentity> IdentifyControls(const std::vector<const CControlDef*>& controls);

// `formKey` is the form file's full path, case-folded by the caller. The
// store keeps one file per form, named after a hash of the key.
std::string RememberedValuesFileName(const std::string& formKey);

// The store file's text. Every string is kept byte for byte, whatever its
// encoding.
std::string SerializeFormStore(const std::string& formKey, const FormStore& store);
std::string SerializeRememberedValues(const std::string& formKey, const std::vector<RememberedValue>& values);

// False, with everything empty, for text that is damaged anywhere, written
// by a newer version of the format, or stored for another form (a hash
// clash). Text written before the store kept history and presets reads
// with both empty.
bool ParseFormStore(const std::string& text, const std::string& formKey, FormStore& store);
bool ParseRememberedValues(const std::string& text, const std::string& formKey, std::vector<RememberedValue>& values);

// For every control in `current`, the stored value with the same identity,
// or null when the form had no such control when the values were stored.
std::vector<const RememberedValue*> MatchRememberedValues(const std::vector<ControlIdentity>& current,
                                                          const std::vector<RememberedValue>& stored);
