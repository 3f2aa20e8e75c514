#include "config/Settings.h"

#include <windows.h>

#include <vector>

#include "framework/Handles.h"
#include "framework/ModulePath.h"

const SettingKey kGrowLeftSetting = {"Console", "GrowLeft", 1};
const SettingKey kGrowRightSetting = {"Console", "GrowRight", 1};
const SettingKey kHideFlagsSetting = {"UI", "HideFlags", 0};
const SettingKey kHideRunWithButtonsSetting = {"UI", "HideRunWithButtons", 1};
const SettingKey kRememberValuesSetting = {"UI", "RememberValues", 1};

namespace {
const char kSettingsFileName[] = "tavrel.ini";
}  // namespace

std::string SettingsPathBeside(const std::string& modulePath)
{
    return PathBesideModule(modulePath, kSettingsFileName);
}

std::string GetSettingsPath() { return SettingsPathBeside(CurrentModulePath()); }

int ReadSetting(const std::string& path, const SettingKey& key)
{
    return static_cast<int>(GetPrivateProfileIntA(key.section, key.name, key.defaultValue, path.c_str()));
}

bool WriteSetting(const std::string& path, const SettingKey& key, bool on)
{
    // Some systems answer success for a file they could not write (read-only,
    // in use, in a folder the user may not write to): a file that does not
    // open for writing is a failure whatever the INI call says.
    UniqueKernelHandle probe(CreateFileA(path.c_str(), GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe.Valid())
        return false;
    probe.Reset();
    return WritePrivateProfileStringA(key.section, key.name, on ? "1" : "0", path.c_str()) != 0;
}

int ReadGrowLeft() { return ReadSetting(GetSettingsPath(), kGrowLeftSetting); }
int ReadGrowRight() { return ReadSetting(GetSettingsPath(), kGrowRightSetting); }
int ReadHideFlags() { return ReadSetting(GetSettingsPath(), kHideFlagsSetting); }
int ReadHideRunWithButtons() { return ReadSetting(GetSettingsPath(), kHideRunWithButtonsSetting); }
int ReadRememberValues() { return ReadSetting(GetSettingsPath(), kRememberValuesSetting); }

bool WriteGrowLeft(bool on) { return WriteSetting(GetSettingsPath(), kGrowLeftSetting, on); }
bool WriteGrowRight(bool on) { return WriteSetting(GetSettingsPath(), kGrowRightSetting, on); }
bool WriteHideFlags(bool on) { return WriteSetting(GetSettingsPath(), kHideFlagsSetting, on); }
bool WriteHideRunWithButtons(bool on) { return WriteSetting(GetSettingsPath(), kHideRunWithButtonsSetting, on); }
bool WriteRememberValues(bool on) { return WriteSetting(GetSettingsPath(), kRememberValuesSetting, on); }
