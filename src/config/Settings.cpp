#include "config/Settings.h"

#include <windows.h>

#include <vector>

const SettingKey kGrowLeftSetting = {"Console", "GrowLeft", 1};
const SettingKey kGrowRightSetting = {"Console", "GrowRight", 1};
const SettingKey kHideFlagsSetting = {"UI", "HideFlags", 0};
const SettingKey kHideRunWithButtonsSetting = {"UI", "HideRunWithButtons", 1};

namespace {
const char kSettingsFileName[] = "tavrel.ini";

// The whole module path, however long: a path cut at MAX_PATH would name
// a different folder, and settings would be written where nobody looks.
std::string ModulePath()
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}
}  // namespace

std::string SettingsPathBeside(const std::string& modulePath)
{
    size_t backslash = modulePath.rfind('\\');
    std::string folder = backslash == std::string::npos ? modulePath : modulePath.substr(0, backslash + 1);
    return folder + kSettingsFileName;
}

std::string GetSettingsPath() { return SettingsPathBeside(ModulePath()); }

int ReadSetting(const std::string& path, const SettingKey& key)
{
    return static_cast<int>(GetPrivateProfileIntA(key.section, key.name, key.defaultValue, path.c_str()));
}

bool WriteSetting(const std::string& path, const SettingKey& key, bool on)
{
    return WritePrivateProfileStringA(key.section, key.name, on ? "1" : "0", path.c_str()) != 0;
}

int ReadGrowLeft() { return ReadSetting(GetSettingsPath(), kGrowLeftSetting); }
int ReadGrowRight() { return ReadSetting(GetSettingsPath(), kGrowRightSetting); }
int ReadHideFlags() { return ReadSetting(GetSettingsPath(), kHideFlagsSetting); }
int ReadHideRunWithButtons() { return ReadSetting(GetSettingsPath(), kHideRunWithButtonsSetting); }

void WriteGrowLeft(bool on) { WriteSetting(GetSettingsPath(), kGrowLeftSetting, on); }
void WriteGrowRight(bool on) { WriteSetting(GetSettingsPath(), kGrowRightSetting, on); }
void WriteHideFlags(bool on) { WriteSetting(GetSettingsPath(), kHideFlagsSetting, on); }
void WriteHideRunWithButtons(bool on) { WriteSetting(GetSettingsPath(), kHideRunWithButtonsSetting, on); }
