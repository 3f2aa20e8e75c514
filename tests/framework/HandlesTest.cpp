// Handles that close themselves: closed once, at the end of their owner.

#include <gtest/gtest.h>

#include <utility>

#include "framework/Handles.h"

namespace {

bool IsOpen(HANDLE handle)
{
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

TEST(Handles, AKernelHandleIsClosedOnceByItsLastOwnerAndNotAfterRelease)
{
    HANDLE raw = nullptr;
    {
        UniqueKernelHandle first(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        raw = first.Get();
        ASSERT_TRUE(first.Valid());
        UniqueKernelHandle second(std::move(first));
        EXPECT_FALSE(first.Valid());
        EXPECT_EQ(raw, second.Get());
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));

    UniqueKernelHandle kept(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    HANDLE released = kept.Release();
    kept.Reset();
    EXPECT_TRUE(IsOpen(released));
    ::CloseHandle(released);

    // A file that failed to open is no handle to close.
    UniqueKernelHandle missing(::CreateFileA("Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing.Valid());
}

TEST(Handles, ARegistryKeyReceivedFromTheSystemIsClosedWithItsOwner)
{
    UniqueRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, key.Receive()));
    HKEY raw = key.Get();
    DWORD subKeys = 0;
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryInfoKeyA(raw, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                                nullptr, nullptr, nullptr, nullptr, nullptr));
    key.Reset();
    EXPECT_FALSE(key.Valid());
    EXPECT_NE(ERROR_SUCCESS, ::RegQueryInfoKeyA(raw, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                                nullptr, nullptr, nullptr, nullptr, nullptr));
}

}  // namespace
