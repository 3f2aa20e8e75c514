#include "formui/RememberedValues.h"

#include <cstdint>
#include <map>
#include <tuple>

#include <nlohmann/json.hpp>

#include "common/Diag.h"
#include "common/TextFormat.h"
#include "formdef/ControlDef.h"

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

bool ParseUnguarded(const std::string& text, const std::string& formKey, std::vector<RememberedValue>& values)
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
    auto controls = document.find("controls");
    if (controls == document.end() || !controls->is_array())
        return false;
    for (const Json& entry : *controls) {
        RememberedValue value;
        if (!ReadEntry(entry, value))
            return false;
        values.push_back(std::move(value));
    }
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

std::string SerializeRememberedValues(const std::string& formKey, const std::vector<RememberedValue>& values)
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
    Json document = {{kVersionKey, kFormatVersion}, {"form", BytesToJsonText(formKey)}, {"controls", controls}};
    // Every string is valid UTF-8 by construction; "replace" only keeps
    // dump from ever throwing.
    return document.dump(1, '\t', false, Json::error_handler_t::replace) + "\n";
}

bool ParseRememberedValues(const std::string& text, const std::string& formKey, std::vector<RememberedValue>& values)
{
    values.clear();
    bool parsed = false;
    // The library throws on its own failures (out of memory, a number out of
    // range); none of them may keep a form from opening.
    try {
        parsed = ParseUnguarded(text, formKey, values);
    } catch (...) {
        DiagCaughtException("reading the remembered values");
        parsed = false;
    }
    if (!parsed)
        values.clear();
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
