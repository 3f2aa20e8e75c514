#pragma once
// Points APPDATA, where forms remember their values, at a folder of this
// test process for the life of the process, so that what one test's forms
// remember never reaches another test (nor the prefix user's own values).
// Programs the tests start inherit it.

#include <windows.h>

#include <filesystem>
#include <string>

class IsolatedAppData {
public:
    IsolatedAppData()
    {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "tavrel-appdata-" + std::to_string(::GetCurrentProcessId()) + "-" +
                   std::to_string(::GetTickCount());
        ::CreateDirectoryA(m_folder.c_str(), nullptr);
        ::SetEnvironmentVariableA("APPDATA", m_folder.c_str());
    }
    ~IsolatedAppData()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    const std::string& Folder() const { return m_folder; }

private:
    std::string m_folder;
};
