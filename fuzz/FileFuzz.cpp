// Feeds arbitrary bytes to the program's path for form files on disk: the
// bytes are written to a file, the file is checked for the {{batch gui}}
// tag as the loader does, and an ordinary form is parsed through ParseFile
// (file reading, line splitting, CR handling and whatever decoding that path
// does). Besides the model's invariants, plain ASCII text must read the same
// from a file as from memory.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FormChecks.h"
#include "formdef/BatchFormFile.h"
#include "formdef/FormModel.h"
#include "formdef/LineReader.h"

namespace {

const std::string& InputPath()
{
    static const std::string path = [] {
        // A folder in memory when there is one: writing to disk would set
        // the pace (ten times slower), not the reading under test.
        const char* folder = getenv("TMPDIR");
        if (access("/dev/shm", W_OK) == 0) folder = "/dev/shm";
        return std::string(folder && *folder ? folder : "/tmp") + "/tavrel-file-fuzz-" + std::to_string(getpid()) +
               ".gui";
    }();
    static const bool removedAtExit = (atexit([] { remove(path.c_str()); }), true);
    (void)removedAtExit;
    return path;
}

void WriteInput(const uint8_t* data, size_t size)
{
    FILE* file = fopen(InputPath().c_str(), "wb");
    Require(file != nullptr, "the input file can be created");
    Require(fwrite(data, 1, size, file) == size, "the input file is written whole");
    Require(fclose(file) == 0, "the input file is closed");
}

// Bytes whose meaning no decoding of an 8-bit file changes.
bool IsPlainAscii(const uint8_t* data, size_t size)
{
    for (size_t i = 0; i < size; ++i)
        if (data[i] == 0 || data[i] > 0x7f) return false;
    return true;
}

void RequireSameModel(const CFormModel& fromFile, const CFormModel& fromText)
{
    Require(fromFile.m_strCommand == fromText.m_strCommand, "same command");
    Require(fromFile.m_strDescription == fromText.m_strDescription, "same description");
    Require(fromFile.m_bBatchCmd == fromText.m_bBatchCmd, "same batch flag");
    Require(fromFile.m_strBatchScript == fromText.m_strBatchScript, "same script");
    Require(fromFile.m_nLine == fromText.m_nLine, "same line count");
    Require(fromFile.m_controls.size() == fromText.m_controls.size(), "same number of controls");
    for (size_t i = 0; i < fromFile.m_controls.size(); ++i) {
        const CControlDef& a = *fromFile.m_controls[i];
        const CControlDef& b = *fromText.m_controls[i];
        Require(a.m_strFlag == b.m_strFlag && a.m_strType == b.m_strType && a.m_strLabel == b.m_strLabel &&
                    a.m_bRequired == b.m_bRequired && a.m_bActionButton == b.m_bActionButton &&
                    a.m_nRadioGroup == b.m_nRadioGroup,
                "same control");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QuietDiagnostics();
    WriteInput(data, size);

    std::string script;
    BatchFormKind kind = ReadBatchForm(InputPath(), script);
    Require(kind != BatchFormKind::CannotOpen, "the written file opens");
    if (kind == BatchFormKind::BatchForm) {
        // The loader would run the script instead of parsing the file.
        Require(script.empty() || script.compare(script.size() - 2, 2, "\r\n") == 0, "script lines end in CR LF");
        return 0;
    }

    CountingPresenter presenter;
    SetParseErrorPresenter(&presenter);
    CFormModel model;
    bool parsed = model.ParseFile(InputPath());
    CheckModel(model, model.m_nLine, parsed);
    CheckReports(presenter, model.m_nLine, parsed);

    if (IsPlainAscii(data, size)) {
        CountingPresenter textPresenter;
        SetParseErrorPresenter(&textPresenter);
        LineReader reader(std::string(reinterpret_cast<const char*>(data), size));
        CFormModel fromText;
        bool textParsed = fromText.ParseLines(reader);
        Require(parsed == textParsed, "same result from file and memory");
        Require(presenter.reports == textPresenter.reports && presenter.lastText == textPresenter.lastText,
                "same reports from file and memory");
        RequireSameModel(model, fromText);
    }
    SetParseErrorPresenter(nullptr);
    return 0;
}
