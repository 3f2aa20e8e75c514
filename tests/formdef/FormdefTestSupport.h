#pragma once
// Helpers shared by the form definition tests: a presenter that records what
// the user would have seen, a temporary folder, and a one-call parse.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formdef/FormModel.h"
#include "formdef/LineReader.h"
#include "formdef/ParseErrorPresenter.h"

struct ShownReport {
    std::string title;
    std::string text;
};

// Installs itself for its lifetime.
class RecordingPresenter : public ParseErrorPresenter {
public:
    RecordingPresenter() { SetParseErrorPresenter(this); }
    ~RecordingPresenter() override { SetParseErrorPresenter(nullptr); }
    void ShowReport(const std::string& title, const std::string& text) override
    {
        reports.push_back({title, text});
    }
    void RequestQuit() override { ++quitRequests; }
    void ShowOpenFailure(const std::string& message) override { openFailures.push_back(message); }

    std::vector<ShownReport> reports;
    std::vector<std::string> openFailures;
    int quitRequests = 0;
};

// A folder of its own under the system's temporary folder, removed at the end.
// Built on the standard library, as the core tests also run natively (the
// tests under Wine use support/TempFolder.h).
class PortableTempFolder {
public:
    PortableTempFolder()
    {
        static int serial = 0;
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        m_path = std::filesystem::temp_directory_path() /
                 ("tavrel-formdef-" + std::to_string(stamp) + "-" + std::to_string(++serial));
        std::filesystem::create_directories(m_path);
    }
    ~PortableTempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    // Writes the bytes unchanged and returns the file's path.
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        std::filesystem::path file = m_path / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }
    std::string PathOf(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

inline bool ParseText(CFormModel& model, const std::string& text)
{
    LineReader reader(text);
    return model.ParseLines(reader);
}
