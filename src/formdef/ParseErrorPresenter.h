#pragma once
// The user-facing side of parse-error reporting, injected so that the parser
// and the form model stay free of windows. The Windows build installs a
// presenter that shows the console window and message boxes; tests install
// one that records.

#include <string>

class ParseErrorPresenter {
public:
    virtual ~ParseErrorPresenter() = default;
    // The error itself, before its report is shown: a line number (0 when
    // none applies) and the message. For tools that list errors.
    virtual void RecordError(int line, const std::string& message) {}
    // Shows the report window modally; returns when the user closed it.
    virtual void ShowReport(const std::string& title, const std::string& text) = 0;
    // Asks the application to end (PostQuitMessage(0) on Windows).
    virtual void RequestQuit() = 0;
    // ParseFile could not open the file: a box without owner, caption
    // "Tavrel Parse Error", error icon, OK.
    virtual void ShowOpenFailure(const std::string& message) = 0;
};

// Not owned; null (the default) shows nothing and requests nothing.
void SetParseErrorPresenter(ParseErrorPresenter* presenter);
ParseErrorPresenter* GetParseErrorPresenter();
