#include "e2e/Driver.h"

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "support/IsolatedAppData.h"

namespace e2e {

namespace {

IsolatedAppData g_appData;

constexpr DWORD kPollMs = 20;

std::string ToLf(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

struct EnumContext {
    DWORD pid;
    std::vector<WindowInfo>* windows;
};

BOOL CALLBACK CollectProcessWindow(HWND hwnd, LPARAM lParam)
{
    auto* context = reinterpret_cast<EnumContext*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == context->pid && IsWindowVisible(hwnd))
        context->windows->push_back({hwnd, TextOf(hwnd), ClassOf(hwnd)});
    return TRUE;
}

std::string ExeFolder()
{
    char path[MAX_PATH * 2];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// The message of a message box: its static text (id 0xFFFF on Windows and
// Wine), or else the first non-empty static that is not the icon.
std::string MessageBoxText(HWND box)
{
    if (HWND text = GetDlgItem(box, 0xFFFF))
        return TextOf(text);
    HWND text = FindDescendant(box, [](HWND child) {
        return ClassOf(child) == "Static" && (StyleOf(child) & SS_TYPEMASK) != SS_ICON && !TextOf(child).empty();
    });
    return text ? TextOf(text) : std::string();
}


}  // namespace

std::string TestBinFolder() { return ExeFolder(); }

std::string TavrelExePath()
{
    std::string folder = ExeFolder();  // <build>\testbin\ .
    folder.pop_back();
    return folder.substr(0, folder.find_last_of("\\/") + 1) + "tavrel.exe";
}

// ---- The process -------------------------------------------------------------

struct TavrelProcess::State {
    PROCESS_INFORMATION info = {};
    HANDLE outputRead = nullptr;

    // The reader thread peeks instead of blocking in ReadFile, so that it can
    // always be stopped, even while a grandchild keeps the pipe open.
    std::thread reader;
    std::atomic<bool> stopReading{false};
    std::atomic<bool> readerDone{false};
    mutable std::mutex mutex;
    mutable std::condition_variable arrived;
    std::string output;

    void ReadLoop()
    {
        char buffer[4096];
        while (!stopReading) {
            DWORD available = 0;
            if (!PeekNamedPipe(outputRead, nullptr, 0, nullptr, &available, nullptr))
                break;  // every writer is gone and the pipe is empty
            if (available == 0) {
                Sleep(5);
                continue;
            }
            DWORD got = 0;
            if (!ReadFile(outputRead, buffer, sizeof(buffer), &got, nullptr))
                break;
            std::lock_guard<std::mutex> lock(mutex);
            output.append(buffer, got);
            arrived.notify_all();
        }
        readerDone = true;
    }

    void StopReader()
    {
        stopReading = true;
        if (reader.joinable())
            reader.join();
    }
};

TavrelProcess::TavrelProcess() : m_state(new State) {}

TavrelProcess::~TavrelProcess()
{
    if (m_state->info.hProcess && !HasExited())
        Kill();
    m_state->StopReader();
    if (m_state->outputRead)
        CloseHandle(m_state->outputRead);
    if (m_state->info.hProcess)
        CloseHandle(m_state->info.hProcess);
}

bool TavrelProcess::Start(const std::string& arguments, const std::string& workingDirectory,
                          const std::string& exePath)
{
    if (m_state->info.hProcess)
        return false;  // one program per driver object
    std::string program = exePath.empty() ? TavrelExePath() : exePath;

    SECURITY_ATTRIBUTES inheritable = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outputWrite = nullptr;
    if (!CreatePipe(&m_state->outputRead, &outputWrite, &inheritable, 1 << 16))
        return false;
    SetHandleInformation(m_state->outputRead, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outputWrite;
    startup.hStdError = outputWrite;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);

    // The program name is quoted, the rest passed exactly as given.
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');

    BOOL started = CreateProcessA(program.c_str(), writable.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                                  &m_state->info);
    CloseHandle(outputWrite);  // only the program holds the write end now
    if (!started) {
        CloseHandle(m_state->outputRead);
        m_state->outputRead = nullptr;
        m_state->info = {};
        return false;
    }
    CloseHandle(m_state->info.hThread);
    m_state->info.hThread = nullptr;
    m_state->reader = std::thread([state = m_state.get()] { state->ReadLoop(); });
    return true;
}

DWORD TavrelProcess::ProcessId() const { return m_state->info.dwProcessId; }

HANDLE TavrelProcess::ProcessHandle() const { return m_state->info.hProcess; }

std::string TavrelProcess::RawOutput() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->output;
}

std::string TavrelProcess::Output() const { return ToLf(RawOutput()); }

bool TavrelProcess::WaitForOutput(const std::string& text, DWORD timeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_state->mutex);
    return m_state->arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return ToLf(m_state->output).find(text) != std::string::npos;
    });
}

std::vector<WindowInfo> TavrelProcess::Windows() const
{
    std::vector<WindowInfo> windows;
    if (!m_state->info.hProcess)
        return windows;
    EnumContext context{m_state->info.dwProcessId, &windows};
    EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&context));
    return windows;
}

HWND TavrelProcess::WaitForWindowWhere(const std::function<bool(const WindowInfo&)>& match, DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (const WindowInfo& window : Windows()) {
                if (match(window)) {
                    found = window.hwnd;
                    return true;
                }
            }
            return false;
        },
        timeoutMs, kPollMs);
    return found;
}

HWND TavrelProcess::WaitForWindow(const std::string& title, DWORD timeoutMs) const
{
    return WaitForWindowWhere([&](const WindowInfo& window) { return window.title == title; }, timeoutMs);
}

bool TavrelProcess::WaitForWindowGone(HWND hwnd, DWORD timeoutMs) const
{
    return WaitUntil([hwnd] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, timeoutMs, kPollMs);
}

MessageBoxSeen TavrelProcess::WaitForMessageBox(const std::string& caption, DWORD timeoutMs) const
{
    MessageBoxSeen seen;
    seen.hwnd = WaitForWindowWhere(
        [&](const WindowInfo& window) { return IsDialog(window.hwnd) && window.title == caption; },
        timeoutMs);
    if (!seen.hwnd)
        return seen;
    seen.found = true;
    seen.caption = caption;
    seen.text = MessageBoxText(seen.hwnd);
    return seen;
}

MessageBoxSeen TavrelProcess::AnswerMessageBox(const std::string& caption, int buttonId, DWORD timeoutMs) const
{
    MessageBoxSeen seen = WaitForMessageBox(caption, timeoutMs);
    if (seen.found)
        AnswerDialog(seen.hwnd, buttonId);
    return seen;
}

void TavrelProcess::Close(HWND hwnd) const { PostMessageA(hwnd, WM_CLOSE, 0, 0); }

bool TavrelProcess::HasExited() const
{
    return m_state->info.hProcess && WaitForSingleObject(m_state->info.hProcess, 0) == WAIT_OBJECT_0;
}

bool TavrelProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!m_state->info.hProcess)
        return false;
    if (WaitForSingleObject(m_state->info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        Kill();
        return false;
    }
    if (exitCode)
        GetExitCodeProcess(m_state->info.hProcess, exitCode);
    // Let the reader take what was still in the pipe. It ends by itself once
    // every writer is gone; a grandchild may keep the pipe open, so settle
    // for two empty looks in a row.
    DWORD start = GetTickCount();
    int emptyLooks = 0;
    while (!m_state->readerDone && emptyLooks < 2 && GetTickCount() - start < 2000) {
        DWORD available = 0;
        if (PeekNamedPipe(m_state->outputRead, nullptr, 0, nullptr, &available, nullptr) && available == 0)
            ++emptyLooks;
        else
            emptyLooks = 0;
        Sleep(kPollMs);
    }
    return true;
}

void TavrelProcess::Kill()
{
    if (!m_state->info.hProcess)
        return;
    TerminateProcess(m_state->info.hProcess, 255);
    WaitForSingleObject(m_state->info.hProcess, 5000);
}

// ---- What a user sees on the program's windows -------------------------------

HWND EditBox(HWND form, size_t n)
{
    return FindDescendant(form, [](HWND hwnd) { return ClassOf(hwnd) == "Edit"; }, n);
}

HWND CheckBox(HWND form, size_t n) { return FindDescendant(form, IsCheckBox, n); }

HWND DropDown(HWND form, size_t n)
{
    return FindDescendant(form, [](HWND hwnd) { return ClassOf(hwnd) == "ComboBox"; }, n);
}

HWND LabelOf(HWND field)
{
    HWND before = GetWindow(field, GW_HWNDPREV);
    return before && ClassOf(before) == "Static" ? before : nullptr;
}

HWND ButtonNamed(HWND window, const std::string& text)
{
    return FindDescendant(window, [&](HWND hwnd) { return IsPushButton(hwnd) && TextOf(hwnd) == text; });
}

HWND RunButton(HWND form) { return ButtonNamed(form, "Run"); }

HWND OutputOf(HWND console) { return FindChild(console, "RichEdit20W"); }

// ---- Folders and files ---------------------------------------------------------


}  // namespace e2e
