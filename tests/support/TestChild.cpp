// A child program for tests: it does what its arguments say, one step
// after another, so that a test can stage exactly the behaviour it needs
// from a real process.
//
//   out HEX      write the bytes (two hex digits each) to standard output
//   err HEX      write the bytes to standard error
//   lines N      write "line 1\r\n" ... "line N\r\n" to standard output
//   bytes N      write N bytes "ABC...XYZABC..." (byte i is 'A' + i % 26)
//   echo N       read standard input line by line and write "echo:LINE\r\n"
//                for each; stops after N lines, or at end of input when N is 0
//   sleep MS     sleep MS milliseconds
//   pid          write "pid=<own process id>\r\n"
//   spawn MS     start a copy of this program that sleeps MS milliseconds,
//                sharing our standard handles; write "grandchild=<pid>\r\n"
//   wait         wait for the copy started last to end
//   breakaway    start a copy that ends at once, outside any job we are in
//                (CREATE_BREAKAWAY_FROM_JOB); write "breakaway=ok" or
//                "breakaway=error <code>"
//   cmdline      write "cmdline=<the raw command line>\r\n"
//   args         write every argument after this one, one per line, as
//                "arg<k>=<byte length>:<bytes>\r\n" (k from 1), then "args=<count>\r\n";
//                nothing after "args" is run as a step
//   uargs        the same for the arguments as the system passed them, read
//                from the Unicode command line: "uarg<k>=<UTF-8 bytes in
//                hex>\r\n", then "uargs=<count>\r\n" (this program has no
//                UTF-8 manifest: its 8-bit arguments could not hold them)
//   later MS HEX start a copy of this program that sleeps MS milliseconds,
//                then writes the bytes, sharing our standard handles (it
//                outlives us); write "grandchild=<pid>\r\n"
//   flood N      write the flood of tests/support/FloodOutput.h (N bytes
//                or a little more) in pieces of varying size
//   floodlines N the same flood, one write per line (as a program that
//                flushes every line writes)
//   longline N   write one line of N bytes ("L"...) and its CR LF in one write
//   key          read one byte of standard input, write "key=<HH>\r\n"
//   exit CODE    end now with CODE (decimal, or 0x... hexadecimal)
//
// Without "exit" the program ends with code 0. An unknown step or a missing
// argument ends it with code 250 and a line on standard error.
// Every write goes straight to the handle (no runtime buffering), so the
// bytes arrive in order and survive the process being killed.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FloodOutput.h"
#include "support/HexBytes.h"

// Arguments reach the steps exactly as the runtime split them (no globbing).
extern "C" {
int _dowildcard = 0;
}

namespace {

constexpr int kUsageExitCode = 250;

void WriteBytes(DWORD which, const std::string& bytes)
{
    HANDLE handle = GetStdHandle(which);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
            written == 0)
            return;
        done += written;
    }
}

void WriteOut(const std::string& text) { WriteBytes(STD_OUTPUT_HANDLE, text); }

[[noreturn]] void Usage(const std::string& problem)
{
    WriteBytes(STD_ERROR_HANDLE, "testchild: " + problem + "\r\n");
    ExitProcess(kUsageExitCode);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string DecodeHex(const char* hex)
{
    std::string bytes;
    size_t length = strlen(hex);
    if (length % 2 != 0)
        Usage(std::string("odd number of hex digits: ") + hex);
    for (size_t i = 0; i < length; i += 2) {
        int high = HexDigit(hex[i]);
        int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0)
            Usage(std::string("not hex: ") + hex);
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

unsigned long Number(const char* text)
{
    char* end = nullptr;
    bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    unsigned long value = strtoul(text, &end, hex ? 16 : 10);
    if (end == text || *end != '\0')
        Usage(std::string("not a number: ") + text);
    return value;
}

void WriteLines(unsigned long count)
{
    for (unsigned long i = 1; i <= count; ++i)
        WriteOut("line " + std::to_string(i) + "\r\n");
}

void WritePattern(unsigned long count)
{
    std::string block;
    block.reserve(count);
    for (unsigned long i = 0; i < count; ++i)
        block.push_back(static_cast<char>('A' + i % 26));
    WriteOut(block);
}

void EchoLines(unsigned long limit)
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    std::string line;
    unsigned long echoed = 0;
    char c = 0;
    DWORD got = 0;
    while ((limit == 0 || echoed < limit) && ReadFile(input, &c, 1, &got, nullptr) && got == 1) {
        if (c == '\r')
            continue;
        if (c != '\n') {
            line.push_back(c);
            continue;
        }
        WriteOut("echo:" + line + "\r\n");
        line.clear();
        ++echoed;
    }
    if (!line.empty() && (limit == 0 || echoed < limit))
        WriteOut("echo:" + line + "\r\n");
}

std::string OwnPath()
{
    char path[MAX_PATH * 2];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    return std::string(path, length);
}

// The copy inherits our standard handles, so it keeps our output pipe
// open for as long as it lives.
HANDLE SpawnCopy(const std::string& steps)
{
    std::string commandLine = "\"" + OwnPath() + "\" " + steps;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &info))
        Usage("could not start a copy (error " + std::to_string(GetLastError()) + ")");
    CloseHandle(info.hThread);
    WriteOut("grandchild=" + std::to_string(info.dwProcessId) + "\r\n");
    return info.hProcess;
}

void WriteFlood(size_t bytes)
{
    const FloodOutput flood = MakeFloodOutput(bytes);
    size_t offset = 0;
    for (size_t size : FloodPieceSizes(flood.written.size())) {
        WriteOut(flood.written.substr(offset, size));
        offset += size;
    }
}

void WriteFloodLines(size_t bytes)
{
    const FloodOutput flood = MakeFloodOutput(bytes);
    for (size_t start = 0; start < flood.written.size();) {
        const size_t end = flood.written.find('\n', start);
        const size_t next = end == std::string::npos ? flood.written.size() : end + 1;
        WriteOut(flood.written.substr(start, next - start));
        start = next;
    }
}

void ReadOneKey()
{
    char c = 0;
    DWORD got = 0;
    if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &got, nullptr) || got != 1) {
        WriteOut("key=none\r\n");
        return;
    }
    char line[16];
    snprintf(line, sizeof line, "key=%02X\r\n", static_cast<unsigned char>(c));
    WriteOut(line);
}

void StartOutsideTheJob()
{
    std::string commandLine = "\"" + OwnPath() + "\" exit 0";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW | CREATE_BREAKAWAY_FROM_JOB,
                       nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        WriteOut("breakaway=ok\r\n");
    } else {
        WriteOut("breakaway=error " + std::to_string(GetLastError()) + "\r\n");
    }
}

void WriteArguments(int first, int argc, char** argv)
{
    int count = 0;
    for (int i = first; i < argc; ++i) {
        ++count;
        std::string argument = argv[i];
        WriteOut("arg" + std::to_string(count) + "=" + std::to_string(argument.size()) + ":" + argument + "\r\n");
    }
    WriteOut("args=" + std::to_string(count) + "\r\n");
}

// Splits the Unicode command line as the C runtime splits the 8-bit one, so
// that argument `first` is the same argument in both.
void WriteUnicodeArguments(int first)
{
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        Usage("could not read the Unicode command line");
    int written = 0;
    for (int i = first; i < count; ++i) {
        int length = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
        if (length > 1)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, &utf8[0], length, nullptr, nullptr);
        ++written;
        WriteOut("uarg" + std::to_string(written) + "=" + HexBytes(utf8) + "\r\n");
    }
    WriteOut("uargs=" + std::to_string(written) + "\r\n");
    LocalFree(wide);
}

}  // namespace

int main(int argc, char** argv)
{
    HANDLE lastSpawned = nullptr;
    for (int i = 1; i < argc; ++i) {
        std::string step = argv[i];
        auto parameter = [&]() -> const char* {
            if (i + 1 >= argc)
                Usage("missing argument after " + step);
            return argv[++i];
        };
        if (step == "out") {
            WriteBytes(STD_OUTPUT_HANDLE, DecodeHex(parameter()));
        } else if (step == "err") {
            WriteBytes(STD_ERROR_HANDLE, DecodeHex(parameter()));
        } else if (step == "lines") {
            WriteLines(Number(parameter()));
        } else if (step == "bytes") {
            WritePattern(Number(parameter()));
        } else if (step == "echo") {
            EchoLines(Number(parameter()));
        } else if (step == "sleep") {
            Sleep(static_cast<DWORD>(Number(parameter())));
        } else if (step == "pid") {
            WriteOut("pid=" + std::to_string(GetCurrentProcessId()) + "\r\n");
        } else if (step == "spawn") {
            lastSpawned = SpawnCopy("sleep " + std::to_string(Number(parameter())));
        } else if (step == "later") {
            const unsigned long milliseconds = Number(parameter());
            const std::string hex = parameter();
            DecodeHex(hex.c_str());  // checked here, where a mistake is reported
            CloseHandle(SpawnCopy("sleep " + std::to_string(milliseconds) + " out " + hex));
        } else if (step == "flood") {
            WriteFlood(Number(parameter()));
        } else if (step == "floodlines") {
            WriteFloodLines(Number(parameter()));
        } else if (step == "longline") {
            WriteOut(std::string(Number(parameter()), 'L') + "\r\n");
        } else if (step == "key") {
            ReadOneKey();
        } else if (step == "wait") {
            if (lastSpawned)
                WaitForSingleObject(lastSpawned, INFINITE);
        } else if (step == "breakaway") {
            StartOutsideTheJob();
        } else if (step == "cmdline") {
            WriteOut(std::string("cmdline=") + GetCommandLineA() + "\r\n");
        } else if (step == "args") {
            WriteArguments(i + 1, argc, argv);
            break;
        } else if (step == "uargs") {
            WriteUnicodeArguments(i + 1);
            break;
        } else if (step == "exit") {
            ExitProcess(static_cast<UINT>(Number(parameter())));
        } else {
            Usage("unknown step " + step);
        }
    }
    return 0;
}
