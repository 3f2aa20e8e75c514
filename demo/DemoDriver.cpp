// Runs Tavrel's main job on an example form as a user would, for
// tools/demo.sh: opens the form, fills the folder field, picks options,
// presses Run, waits for the command to finish in the console window, and
// saves pictures of the filled form and of the finished console.
//
// Usage: tavrel_demo.exe FORM_PATH FOLDER_VALUE OUTPUT_FOLDER
//        tavrel_demo.exe --run FORM_PATH PICTURE.bmp
//        tavrel_demo.exe --history FORM_PATH PICTURE.bmp VALUE...
//   The second form opens any form, presses Run as it stands and saves the
//   finished console (tools/console-picture.sh). The third runs the form
//   once for each VALUE (put in its first edit box) and saves its "Run
//   history" window.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e/Driver.h"

namespace {

// Copies what the screen shows of a window (frame and caption included)
// into a 24-bit BMP file.
bool SaveWindowPicture(HWND hwnd, const std::string& path)
{
    RECT rect;
    if (!::GetWindowRect(hwnd, &rect))
        return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;

    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool saved = false;
    if (bitmap != nullptr) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        ::SelectObject(memory, old);
        ::GdiFlush();
        const DWORD rowBytes = ((width * 3) + 3) & ~3u;
        const DWORD imageBytes = rowBytes * height;
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + imageBytes;
        FILE* out = fopen(path.c_str(), "wb");
        if (out != nullptr) {
            saved = fwrite(&file, sizeof file, 1, out) == 1 &&
                    fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                    fwrite(bits, 1, imageBytes, out) == imageBytes;
            fclose(out);
        }
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return saved;
}

// The pictures show what a user sees, so the scripts run a copy of the
// program from a neutral folder (TAVREL_DEMO_EXE, a Windows path), started
// in that folder; without it, the built program from the test folder.
bool StartTavrel(e2e::TavrelProcess& app, const std::string& form)
{
    char exe[MAX_PATH] = {};
    if (GetEnvironmentVariableA("TAVREL_DEMO_EXE", exe, MAX_PATH) == 0 || exe[0] == 0)
        return app.Start("\"" + form + "\"");
    std::string folder = exe;
    folder.erase(folder.find_last_of('\\') + 1);
    return app.Start("\"" + form + "\"", folder, exe);
}

int Fail(const char* what, e2e::TavrelProcess& app)
{
    fprintf(stderr, "demo: %s\n--- Tavrel's diagnostic lines ---\n%s\n", what, app.Output().c_str());
    app.Kill();
    return 1;
}

// Starts tavrel.exe on the form and waits for its window: what failed, or
// null with `dialog` set.
const char* OpenFormWindow(e2e::TavrelProcess& app, const std::string& form, HWND& dialog)
{
    if (!StartTavrel(app, form))
        return "tavrel.exe did not start";
    dialog = app.WaitForWindowWhere([](const e2e::WindowInfo& w) { return !w.title.empty(); }, 20000);
    return dialog == nullptr ? "the form did not appear" : nullptr;
}

HWND WaitForFinishedConsole(e2e::TavrelProcess& app)
{
    return app.WaitForWindowWhere(
        [](const e2e::WindowInfo& w) { return w.title.find("(Completed)") != std::string::npos; },
        120000);
}

// Opens the form, presses Run and saves the console once the command ended.
int RunFormAndPictureConsole(const std::string& form, const std::string& picture)
{
    e2e::TavrelProcess app;
    HWND dialog = nullptr;
    if (const char* failure = OpenFormWindow(app, form, dialog))
        return Fail(failure, app);
    Sleep(300);
    Click(e2e::RunButton(dialog));
    HWND console = WaitForFinishedConsole(app);
    if (console == nullptr)
        return Fail("the command did not finish in the console window", app);
    Sleep(500);
    if (!SaveWindowPicture(console, picture))
        return Fail("the picture could not be saved", app);
    printf("Console: \"%s\"\n", TextOf(console).c_str());
    app.Close(console);
    app.WaitForWindowGone(console);
    app.Close(dialog);
    app.WaitForExit(10000);
    return 0;
}

// Runs the form once per value and saves the history window of those runs.
int RunFormAndPictureHistory(const std::string& form, const std::string& picture, const std::vector<std::string>& values)
{
    e2e::TavrelProcess app;
    HWND dialog = nullptr;
    if (const char* failure = OpenFormWindow(app, form, dialog))
        return Fail(failure, app);
    for (const std::string& value : values) {
        SetText(e2e::EditBox(dialog, 0), value);
        Click(e2e::RunButton(dialog));
        HWND console = WaitForFinishedConsole(app);
        if (console == nullptr)
            return Fail("the command did not finish in the console window", app);
        app.Close(console);
        app.WaitForWindowGone(console);
        Sleep(1100);  // runs a second apart, as a user's would be
    }
    const UINT runHistoryCommand = 0x0040;
    PostMessageA(dialog, WM_SYSCOMMAND, runHistoryCommand, 0);
    HWND history = app.WaitForWindow("Run history", 20000);
    if (history == nullptr)
        return Fail("the history window did not appear", app);
    Sleep(500);
    if (!SaveWindowPicture(history, picture))
        return Fail("the picture could not be saved", app);
    app.Close(history);
    app.WaitForWindowGone(history);
    app.Close(dialog);
    app.WaitForExit(10000);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--run")
        return RunFormAndPictureConsole(argv[2], argv[3]);
    if (argc >= 5 && std::string(argv[1]) == "--history")
        return RunFormAndPictureHistory(argv[2], argv[3], std::vector<std::string>(argv + 4, argv + argc));
    if (argc != 4) {
        fprintf(stderr, "usage: tavrel_demo FORM_PATH FOLDER_VALUE OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string form = argv[1];
    const std::string folder = argv[2];
    const std::string out = std::string(argv[3]) + "\\";

    e2e::TavrelProcess app;
    if (!StartTavrel(app, form))
        return Fail("tavrel.exe did not start", app);
    HWND dialog = app.WaitForWindow("cmd /c dir", 20000);
    if (dialog == nullptr)
        return Fail("the form did not appear", app);
    printf("Form shown: \"%s\"\n", TextOf(dialog).c_str());

    // The required folder field comes first, then the check boxes.
    HWND folderEdit = e2e::EditBox(dialog, 0);
    HWND bare = FindChild(dialog, "Button", "/B   Bare format: names only");
    HWND byName = FindChild(dialog, "Button", "/O:N   Sort by name");
    if (folderEdit == nullptr || bare == nullptr || byName == nullptr)
        return Fail("the form's fields were not found", app);
    SetText(folderEdit, folder);
    SetCheck(bare, true);
    SetCheck(byName, true);
    Sleep(300);
    if (SaveWindowPicture(dialog, out + "form.bmp"))
        printf("Saved the filled form\n");

    Click(e2e::RunButton(dialog));
    HWND console = WaitForFinishedConsole(app);
    if (console == nullptr)
        return Fail("the command did not finish in the console window", app);
    printf("Console: \"%s\"\n", TextOf(console).c_str());
    Sleep(300);
    if (SaveWindowPicture(console, out + "console.bmp"))
        printf("Saved the finished console\n");

    app.Close(console);
    app.WaitForWindowGone(console);
    app.Close(dialog);
    if (!app.WaitForExit(10000))
        return Fail("tavrel.exe did not end", app);

    // The lines that tell the story of the run.
    std::string output = app.Output();
    printf("\n--- From Tavrel's diagnostic lines ---\n");
    size_t from = output.find("COMMAND TO EXECUTE:");
    size_t to = output.find("FakeConsoleDlg::DoModal returned");
    if (from != std::string::npos && to != std::string::npos && to > from)
        printf("%s\n", output.substr(from, output.find('\n', to) - from).c_str());
    return 0;
}
