#pragma once
// Answers every message box of the program with OK and remembers it, so
// tests can check texts and icons without a box ever showing.

#include <string>
#include <vector>

#include "framework/WinApp.h"

struct RecordedBox {
    std::string text;
    UINT type;
};

class BoxRecorder {
public:
    BoxRecorder()
    {
        SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT type) {
            boxes.push_back({text, type});
            return IDOK;
        });
    }
    ~BoxRecorder() { SetMessageBoxHook(nullptr); }
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    std::vector<RecordedBox> boxes;
};
