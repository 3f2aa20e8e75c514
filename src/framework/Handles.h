#pragma once
// Handles that close themselves: UniqueHandle owns one handle and releases
// it the way its kind requires; WindowDC and SelectedObject undo what they
// did to a device context.

#include <windows.h>

template <class Handle, class Kind>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return m_handle; }
    bool Valid() const { return Kind::Valid(m_handle); }
    // For a call that hands the handle out through a pointer; whatever was
    // held before is closed first.
    Handle* Receive()
    {
        Reset();
        return &m_handle;
    }
    // Gives the handle up without closing it (its ownership passed on).
    Handle Release()
    {
        Handle handle = m_handle;
        m_handle = Kind::Empty();
        return handle;
    }
    void Reset(Handle handle = Kind::Empty())
    {
        if (Kind::Valid(m_handle))
            Kind::Close(m_handle);
        m_handle = handle;
    }

private:
    Handle m_handle = Kind::Empty();
};

struct KernelHandleKind {
    static HANDLE Empty() { return nullptr; }
    // Files answer INVALID_HANDLE_VALUE on failure, most other kinds null.
    static bool Valid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE handle) { ::CloseHandle(handle); }
};
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleKind>;

struct RegistryKeyKind {
    static HKEY Empty() { return nullptr; }
    static bool Valid(HKEY key) { return key != nullptr; }
    static void Close(HKEY key) { ::RegCloseKey(key); }
};
using UniqueRegistryKey = UniqueHandle<HKEY, RegistryKeyKind>;

struct GlobalMemoryKind {
    static HGLOBAL Empty() { return nullptr; }
    static bool Valid(HGLOBAL memory) { return memory != nullptr; }
    static void Close(HGLOBAL memory) { ::GlobalFree(memory); }
};
using UniqueGlobalMemory = UniqueHandle<HGLOBAL, GlobalMemoryKind>;

// Memory the system allocated for the caller with LocalAlloc (an error
// description, for instance).
struct LocalMemoryKind {
    static HLOCAL Empty() { return nullptr; }
    static bool Valid(HLOCAL memory) { return memory != nullptr; }
    static void Close(HLOCAL memory) { ::LocalFree(memory); }
};
using UniqueLocalMemory = UniqueHandle<HLOCAL, LocalMemoryKind>;

// A window's device context (the screen's for a null window), released with
// the window it came from.
class WindowDC {
public:
    explicit WindowDC(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
    ~WindowDC()
    {
        if (m_dc != nullptr)
            ::ReleaseDC(m_window, m_dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// Selects an object into a device context and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(::SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (m_previous != nullptr && m_previous != HGDI_ERROR)
            ::SelectObject(m_dc, m_previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};
