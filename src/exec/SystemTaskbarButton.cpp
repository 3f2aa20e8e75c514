#include "exec/SystemTaskbarButton.h"

#include <shobjidl.h>

#include "framework/SystemLibrary.h"

namespace {

// Written out here rather than taken from a GUID library.
const CLSID kTaskbarListClass = {0x56fdf344, 0xfd6d, 0x11d0, {0x95, 0x8a, 0x00, 0x60, 0x97, 0xc9, 0xa0, 0x90}};
const IID kTaskbarList3Interface = {0xea1afb91, 0x9e28, 0x4b86, {0x90, 0xe9, 0x9e, 0x9f, 0x8a, 0x5e, 0xef, 0xaf}};

using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
using CoUninitializeFn = void(WINAPI*)();
using CoCreateInstanceFn = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);

// The console is owned by the form and has no taskbar button of its own:
// the button it shows on is its root owner's.
class SystemTaskbarButton : public TaskbarButton {
public:
    explicit SystemTaskbarButton(HWND console) : m_console(console)
    {
        m_buttonWindow = ::GetAncestor(console, GA_ROOTOWNER);
        if (m_buttonWindow == nullptr)
            m_buttonWindow = console;
        // COM lives in a library that a run otherwise never needs.
        const auto initialize = SystemLibraryFunction<CoInitializeExFn>("ole32.dll", "CoInitializeEx");
        const auto create = SystemLibraryFunction<CoCreateInstanceFn>("ole32.dll", "CoCreateInstance");
        if (initialize == nullptr || create == nullptr)
            return;
        m_comInitialized = SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
        void* taskbar = nullptr;
        if (SUCCEEDED(create(kTaskbarListClass, nullptr, CLSCTX_INPROC_SERVER, kTaskbarList3Interface, &taskbar))) {
            m_taskbar = static_cast<ITaskbarList3*>(taskbar);
            if (FAILED(m_taskbar->HrInit())) {
                m_taskbar->Release();
                m_taskbar = nullptr;
            }
        }
    }

    ~SystemTaskbarButton() override
    {
        if (m_taskbar != nullptr)
            m_taskbar->Release();
        const auto uninitialize = SystemLibraryFunction<CoUninitializeFn>("ole32.dll", "CoUninitialize");
        if (m_comInitialized && uninitialize != nullptr)
            uninitialize();
    }

    void ShowProgress(TaskbarProgress progress) override
    {
        if (m_taskbar == nullptr)
            return;
        switch (progress) {
        case TaskbarProgress::None:
            m_taskbar->SetProgressState(m_buttonWindow, TBPF_NOPROGRESS);
            break;
        case TaskbarProgress::Indeterminate:
            m_taskbar->SetProgressState(m_buttonWindow, TBPF_INDETERMINATE);
            break;
        case TaskbarProgress::Error:
            // The error colour shows on a bar: a full one.
            m_taskbar->SetProgressValue(m_buttonWindow, 100, 100);
            m_taskbar->SetProgressState(m_buttonWindow, TBPF_ERROR);
            break;
        }
    }

    void Flash(bool on) override
    {
        FlashOne(m_console, on ? FLASHW_ALL | FLASHW_TIMERNOFG : FLASHW_STOP);
        if (m_buttonWindow != m_console)
            FlashOne(m_buttonWindow, on ? FLASHW_TRAY | FLASHW_TIMER : FLASHW_STOP);
    }

    bool InFront() override
    {
        HWND front = ::GetForegroundWindow();
        return front != nullptr && (front == m_console || ::GetAncestor(front, GA_ROOTOWNER) == m_buttonWindow);
    }

private:
    static void FlashOne(HWND window, DWORD flags)
    {
        FLASHWINFO flash = {sizeof flash, window, flags, 0, 0};
        ::FlashWindowEx(&flash);
    }

    HWND m_console;
    HWND m_buttonWindow = nullptr;
    ITaskbarList3* m_taskbar = nullptr;
    bool m_comInitialized = false;
};

}  // namespace

std::unique_ptr<RunEndSignal> MakeTaskbarSignal(HWND console)
{
    return std::make_unique<RunEndSignal>(std::make_unique<SystemTaskbarButton>(console));
}
