#include "formui/RunHistory.h"

#include <algorithm>

#include "common/TextFormat.h"

namespace {

std::string FoldAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

void AddRunRecord(std::vector<RunRecord>& history, RunRecord record)
{
    history.insert(history.begin(), std::move(record));
    if (history.size() > kMaxRunHistory)
        history.resize(kMaxRunHistory);
}

ValuePreset* FindPreset(std::vector<ValuePreset>& presets, const std::string& name)
{
    const std::string folded = FoldAscii(name);
    for (ValuePreset& preset : presets) {
        if (FoldAscii(preset.name) == folded)
            return &preset;
    }
    return nullptr;
}

void SetPreset(std::vector<ValuePreset>& presets, const std::string& name, const std::vector<RememberedValue>& values)
{
    if (ValuePreset* existing = FindPreset(presets, name)) {
        existing->values = values;
        return;
    }
    const std::string folded = FoldAscii(name);
    auto place = std::find_if(presets.begin(), presets.end(),
                              [&](const ValuePreset& preset) { return FoldAscii(preset.name) > folded; });
    presets.insert(place, ValuePreset{name, values});
}

bool RemovePreset(std::vector<ValuePreset>& presets, const std::string& name)
{
    ValuePreset* preset = FindPreset(presets, name);
    if (preset == nullptr)
        return false;
    presets.erase(presets.begin() + (preset - presets.data()));
    return true;
}

std::string TrimPresetName(const std::string& name)
{
    const char* blanks = " \t\r\n";
    const size_t first = name.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return name.substr(first, name.find_last_not_of(blanks) - first + 1);
}

std::string FormatRunDuration(long long milliseconds)
{
    if (milliseconds < 0)
        milliseconds = 0;
    if (milliseconds < 10000)
        return FormatText("%lld.%lld s", milliseconds / 1000, milliseconds % 1000 / 100);
    const long long seconds = milliseconds / 1000;
    if (seconds < 60)
        return FormatText("%lld s", seconds);
    if (seconds < 3600)
        return FormatText("%lld min %02lld s", seconds / 60, seconds % 60);
    return FormatText("%lld h %02lld min", seconds / 3600, seconds % 3600 / 60);
}

std::string FormatRunEnding(const RunRecord& record)
{
    switch (record.ending) {
    case RunEnding::Terminated:
        return "Terminated";
    case RunEnding::Cancelled:
        return "Cancelled";
    case RunEnding::Exited:
        break;
    }
    return FormatText("%d", record.exitCode);
}
