#include "formui/RememberedValues.h"

#include <cstdint>
#include <map>
#include <tuple>

#include <nlohmann/json.hpp>

#include "common/Diag.h"
#include "common/TextFormat.h"
#include "formdef/ControlDef.h"
#include "formui/RunHistory.h"

namespace {

// Ordered: the version comes first in the file, where a reader looks for it.
using Json = nlohmann::ordered_json;

// Raised only when the meaning of a field changes; a reader meets a higher
// number as "written by a newer version" and starts empty.
constexpr int kFormatVersion = 1;
const char kVersionKey[] = "tavrelRememberedValues";

std::string KindOf(const CControlDef& control)
{
    if (control.m_bActionButton)
        return std::string();
    if (control.m_nRadioGroup >= 0)
        return control.m_strType.empty() ? "radio" : "typedradio";
    if (control.m_strType.empty() && !control.m_strFlag.empty())
        return "checkbox";
    return control.m_strType == "drive" ? "drive" : "field";
}

// JSON text must be UTF-8, but a value holds whatever bytes its field held
// (the system's 8-bit code page, or UTF-8). Each byte is written as the
// character of the same number (bytes from 128 up as two-byte sequences), so
// that any byte string comes back exactly.
std::string BytesToJsonText(const std::string& bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (unsigned char byte : bytes) {
        if (byte < 0x80) {
            text.push_back(static_cast<char>(byte));
        } else {
            text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return text;
}

// False for a character above 255: no byte was written that way.
bool JsonTextToBytes(const std::string& text, std::string& bytes)
{
    bytes.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            bytes.push_back(static_cast<char>(lead));
            continue;
        }
        if ((lead != 0xC2 && lead != 0xC3) || i + 1 >= text.size())
            return false;
        unsigned char next = static_cast<unsigned char>(text[++i]);
        if ((next & 0xC0) != 0x80)
            return false;
        bytes.push_back(static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F)));
    }
    return true;
}

bool ReadBytes(const Json& entry, const char* key, std::string& bytes)
{
    auto found = entry.find(key);
    return found != entry.end() && found->is_string() && JsonTextToBytes(found->get_ref<const std::string&>(), bytes);
}

bool ReadEntry(const Json& entry, RememberedValue& value)
{
    if (!entry.is_object())
        return false;
    auto place = entry.find("place");
    auto checked = entry.find("checked");
    if (place == entry.end() || !place->is_number_integer() || checked == entry.end() || !checked->is_boolean())
        return false;
    value.control.place = place->get<int>();
    value.checked = checked->get<bool>();
    return ReadBytes(entry, "kind", value.control.kind) && ReadBytes(entry, "flag", value.control.flag) &&
           ReadBytes(entry, "type", value.control.type) && ReadBytes(entry, "label", value.control.label) &&
           ReadBytes(entry, "text", value.text);
}

Json ValuesToJson(const std::vector<RememberedValue>& values)
{
    Json controls = Json::array();
    for (const RememberedValue& value : values) {
        controls.push_back({
            {"kind", BytesToJsonText(value.control.kind)},
            {"flag", BytesToJsonText(value.control.flag)},
            {"type", BytesToJsonText(value.control.type)},
            {"label", BytesToJsonText(value.control.label)},
            {"place", value.control.place},
            {"text", BytesToJsonText(value.text)},
            {"checked", value.checked},
        });
    }
    return controls;
}

bool ReadValues(const Json& owner, std::vector<RememberedValue>& values)
{
    auto controls = owner.find("controls");
    if (controls == owner.end() || !controls->is_array())
        return false;
    for (const Json& entry : *controls) {
        RememberedValue value;
        if (!ReadEntry(entry, value))
            return false;
        values.push_back(std::move(value));
    }
    return true;
}

bool ReadInteger(const Json& owner, const char* key, long long& number)
{
    auto found = owner.find(key);
    if (found == owner.end() || !found->is_number_integer())
        return false;
    number = found->get<long long>();
    return true;
}

const char* const kEndingNames[] = {"exited", "terminated", "cancelled"};

Json RunToJson(const RunRecord& run)
{
    Json button = nullptr;
    if (run.pressedButton) {
        button = {{"flag", BytesToJsonText(run.button.flag)},
                  {"label", BytesToJsonText(run.button.label)},
                  {"place", run.button.place}};
    }
    return {
        {"started", run.startedUtc},
        {"milliseconds", run.durationMs},
        {"commandLine", BytesToJsonText(run.commandLine)},
        {"ended", kEndingNames[static_cast<int>(run.ending)]},
        {"exitCode", run.exitCode},
        {"button", button},
        {"controls", ValuesToJson(run.values)},
    };
}

bool ReadEnding(const Json& entry, RunEnding& ending)
{
    auto found = entry.find("ended");
    if (found == entry.end() || !found->is_string())
        return false;
    for (int i = 0; i < 3; ++i) {
        if (found->get_ref<const std::string&>() == kEndingNames[i]) {
            ending = static_cast<RunEnding>(i);
            return true;
        }
    }
    return false;
}

bool ReadButton(const Json& entry, RunRecord& run)
{
    auto button = entry.find("button");
    if (button == entry.end())
        return false;
    run.pressedButton = !button->is_null();
    if (!run.pressedButton)
        return true;
    long long place = 0;
    if (!button->is_object() || !ReadInteger(*button, "place", place) || place < 0 || place > INT32_MAX)
        return false;
    run.button.place = static_cast<int>(place);
    return ReadBytes(*button, "flag", run.button.flag) && ReadBytes(*button, "label", run.button.label);
}

bool ReadRun(const Json& entry, RunRecord& run)
{
    long long exitCode = 0;
    if (!entry.is_object() || !ReadInteger(entry, "started", run.startedUtc) ||
        !ReadInteger(entry, "milliseconds", run.durationMs) || !ReadInteger(entry, "exitCode", exitCode) ||
        exitCode < INT32_MIN || exitCode > INT32_MAX || !ReadEnding(entry, run.ending))
        return false;
    run.exitCode = static_cast<int>(exitCode);
    return ReadBytes(entry, "commandLine", run.commandLine) && ReadButton(entry, run) && ReadValues(entry, run.values);
}

bool ReadPreset(const Json& entry, ValuePreset& preset)
{
    return entry.is_object() && ReadBytes(entry, "name", preset.name) && !preset.name.empty() &&
           ReadValues(entry, preset.values);
}

// An optional list: absent in files written before it existed.
template <class Item, class ReadItem>
bool ReadOptionalList(const Json& document, const char* key, std::vector<Item>& items, ReadItem readItem)
{
    auto list = document.find(key);
    if (list == document.end())
        return true;
    if (!list->is_array())
        return false;
    for (const Json& entry : *list) {
        Item item;
        if (!readItem(entry, item))
            return false;
        items.push_back(std::move(item));
    }
    return true;
}

bool ParseUnguarded(const std::string& text, const std::string& formKey, FormStore& store)
{
    const Json document = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (!document.is_object())
        return false;  // damaged or cut short
    auto version = document.find(kVersionKey);
    if (version == document.end() || !version->is_number_integer() || version->get<long long>() != kFormatVersion)
        return false;
    std::string storedKey;
    if (!ReadBytes(document, "form", storedKey) || storedKey != formKey)
        return false;
    if (!ReadValues(document, store.values) || !ReadOptionalList(document, "presets", store.presets, ReadPreset) ||
        !ReadOptionalList(document, "history", store.history, ReadRun))
        return false;
    if (store.history.size() > kMaxRunHistory)
        store.history.resize(kMaxRunHistory);
    return true;
}

}  // namespace

std::vector<ControlIdentity> IdentifyControls(const std::vector<const CControlDef*>& controls)
{
    std::vector<ControlIdentity> identities;
    std::map<std::tuple<std::string, std::string, std::string, std::string>, int> seen;
    for (const CControlDef* control : controls) {
        ControlIdentity identity;
        if (control != nullptr) {
            identity.kind = KindOf(*control);
            identity.flag = control->m_strFlag;
            identity.type = control->m_strType;
            identity.label = control->m_strLabel;
            identity.place = seen[std::make_tuple(identity.kind, identity.flag, identity.type, identity.label)]++;
        }
        identities.push_back(identity);
    }
    return identities;
}

std::string RememberedValuesFileName(const std::string& formKey)
{
    // 64-bit FNV-1a: short, stable across versions and platforms; a clash
    // is caught by the key stored inside the file.
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char byte : formKey) {
        hash ^= byte;
        hash *= 1099511628211ULL;
    }
    return FormatText("form-%016llx.json", static_cast<unsigned long long>(hash));
}

std::string SerializeFormStore(const std::string& formKey, const FormStore& store)
{
    Json document = {{kVersionKey, kFormatVersion}, {"form", BytesToJsonText(formKey)},
                     {"controls", ValuesToJson(store.values)}};
    // Written only when there is something, so that a form that never had
    // any keeps the file an earlier version wrote.
    if (!store.presets.empty()) {
        Json presets = Json::array();
        for (const ValuePreset& preset : store.presets)
            presets.push_back({{"name", BytesToJsonText(preset.name)}, {"controls", ValuesToJson(preset.values)}});
        document["presets"] = presets;
    }
    if (!store.history.empty()) {
        Json history = Json::array();
        for (const RunRecord& run : store.history)
            history.push_back(RunToJson(run));
        document["history"] = history;
    }
    // Every string is valid UTF-8 by construction; "replace" only keeps
    // dump from ever throwing.
    return document.dump(1, '\t', false, Json::error_handler_t::replace) + "\n";
}

std::string SerializeRememberedValues(const std::string& formKey, const std::vector<RememberedValue>& values)
{
    FormStore store;
    store.values = values;
    return SerializeFormStore(formKey, store);
}

bool ParseFormStore(const std::string& text, const std::string& formKey, FormStore& store)
{
    store = FormStore();
    bool parsed = false;
    // The library throws on its own failures (out of memory, a number out of
    // range); none of them may keep a form from opening.
    try {
        parsed = ParseUnguarded(text, formKey, store);
    } catch (...) {
        DiagCaughtException("reading the remembered values");
        parsed = false;
    }
    if (!parsed)
        store = FormStore();
    return parsed;
}

bool ParseRememberedValues(const std::string& text, const std::string& formKey, std::vector<RememberedValue>& values)
{
    FormStore store;
    const bool parsed = ParseFormStore(text, formKey, store);
    values = std::move(store.values);
    return parsed;
}

std::vector<const RememberedValue*> MatchRememberedValues(const std::vector<ControlIdentity>& current,
                                                          const std::vector<RememberedValue>& stored)
{
    std::vector<const RememberedValue*> matches;
    for (const ControlIdentity& identity : current) {
        const RememberedValue* match = nullptr;
        if (!identity.kind.empty()) {
            for (const RememberedValue& value : stored) {
                if (value.control == identity) {
                    match = &value;
                    break;
                }
            }
        }
        matches.push_back(match);
    }
    return matches;
}
