// Feeds arbitrary bytes to the parser as the text of a form definition held
// in memory (the path of a batch-generated form's output) and checks the
// model's invariants afterwards.

#include <cstdint>
#include <string>

#include "FormChecks.h"
#include "formdef/FormModel.h"
#include "formdef/LineReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QuietDiagnostics();
    CountingPresenter presenter;
    SetParseErrorPresenter(&presenter);

    LineReader reader(std::string(reinterpret_cast<const char*>(data), size));
    CFormModel model;
    bool parsed = model.ParseLines(reader);

    CheckModel(model, reader.lineCount, parsed);
    CheckReports(presenter, reader.lineCount, parsed);

    SetParseErrorPresenter(nullptr);
    return 0;
}
