// Reporting a format error: a marked diagnostic line, then the lines read
// so far with the error beneath them, then the request to end the program
// (a form with a format error is never shown).

#include <string>

#include "common/Diag.h"
#include "formdef/FormModel.h"
#include "formdef/LineReader.h"
#include "formdef/ParseErrorPresenter.h"

void CFormModel::ReportError(int line, const std::string& message, LineReader* reader)
{
    std::string title;
    std::string text;
    if (line > 0) {
        Diag("##ERROR##\tLine %d: %s\n", line, message.c_str());
        // Every caller with a line number passes its reader; without one the
        // report still names the line, just without the listing above it.
        if (reader) text = reader->listing;
        text += ">>> ERROR AT LINE " + std::to_string(line) + ": " + message + "\r\n";
        title = "Parse Error at Line " + std::to_string(line);
    } else {
        Diag("##ERROR##\t%s\n", message.c_str());
        text = "Parse Error:\r\n\r\nError: " + message;
        title = "Parse Error";
    }

    ParseErrorPresenter* presenter = GetParseErrorPresenter();
    if (!presenter) return;
    presenter->RecordError(line > 0 ? line : 0, message);
    presenter->ShowReport(title, text);
    presenter->RequestQuit();
}
