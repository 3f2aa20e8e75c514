#pragma once
// Start-up's view of the real system: the executable's path, the file
// system, the process token, the shell's "runas" verb and the dialogs.

#include "app/StartupRouting.h"

class SystemStartupEnvironment : public StartupEnvironment {
public:
    std::string ExecutablePath() override;
    bool IsExistingFile(const std::string& path) override;
    bool IsElevated() override;
    bool LaunchElevated(const std::string& executable, const std::string& parameters,
                        unsigned long* error) override;
    void ShowMessage(const std::string& text) override;
    void RunConfigDialog() override;
    void RunFormDialog(const std::string& path, const std::string& title) override;
};
