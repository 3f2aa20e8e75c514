#include "config/Settings.h"

#include <windows.h>

#include <vector>

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
    return WritePrivateProfileStringA(key.section, key.name, on ? "1" : "0", path.c_str()) != 0;
}

int ReadGrowLeft() { return ReadSetting(GetSettingsPath(), kGrowLeftSetting); }
int ReadGrowRight() { return ReadSetting(GetSettingsPath(), kGrowRightSetting); }
int ReadHideFlags() { return ReadSetting(GetSettingsPath(), kHideFlagsSetting); }
int ReadHideRunWithButtons() { return ReadSetting(GetSettingsPath(), kHideRunWithButtonsSetting); }
int ReadRememberValues() { return ReadSetting(GetSettingsPath(), kRememberValuesSetting); }

void WriteGrowLeft(bool on) { WriteSetting(GetSettingsPath(), kGrowLeftSetting, on); }
void WriteGrowRight(bool on) { WriteSetting(GetSettingsPath(), kGrowRightSetting, on); }
void WriteHideFlags(bool on) { WriteSetting(GetSettingsPath(), kHideFlagsSetting, on); }
void WriteHideRunWithButtons(bool on) { WriteSetting(GetSettingsPath(), kHideRunWithButtonsSetting, on); }
void WriteRememberValues(bool on) { WriteSetting(GetSettingsPath(), kRememberValuesSetting, on); }
