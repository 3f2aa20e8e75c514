#include "config/FileAssociations.h"

#include <shlobj.h>

#include "common/Diag.h"
#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "config/RegistryTree.h"
#include "common/TextFormat.h"
#include "framework/WinApp.h"

namespace {

const char kClassesKey[] = "Software\\Classes\\";
// Fixed text: the shell knows the program under this name whatever the
// executable is actually called.
const char kApplicationCommandKey[] = "Software\\Classes\\Applications\\tavrel.exe\\shell\\open\\command";
const char kFileExtsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";

// The shell rebuilds its association cache after the change notice; the
// pause lets it finish before the box invites the user to double-click a file.
constexpr DWORD kShellRefreshPauseMs = 100;

void ShowBox(const std::string& text, UINT icon) { AfxMessageBox(text, MB_OK | icon); }

// Windows 10 may hold a per-user choice for the extension that wins over
// our registration; the final note tells the user how to change it.
bool HasUserChoice(const std::string& extension)
{
    UniqueRegistryKey key;
    std::string path = kFileExtsKey + extension + "\\UserChoice";
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return false;
    std::string progId;
    LONG error = 0;
    bool found = ReadRegistryText(key.Get(), "ProgId", &progId, &error);
    if (found)
        Diag("AssociateExtension: Found UserChoice: %s\n", progId.empty() ? "(not set)" : progId.c_str());
    return found;
}

void RegisterAsApplication(const std::string& openCommand)
{
    UniqueRegistryKey key;
    LONG result = CreateRegistryKey(HKEY_CURRENT_USER, kApplicationCommandKey, key.Receive());
    if (result != ERROR_SUCCESS) {
        Diag("AssociateExtension: Failed to create Application key (err %d)\n", (int)result);
        return;
    }
    result = WriteRegistryText(key.Get(), nullptr, openCommand);
    key.Reset();
    if (result != ERROR_SUCCESS)
        Diag("AssociateExtension: Failed to set Application command (err %d)\n", (int)result);
    else
        Diag("AssociateExtension: Registered as Application\n");
}

void WarnAboutMachineRegistration(const std::string& commandKey)
{
    UniqueRegistryKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, commandKey.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return;
    std::string command;
    LONG error = 0;
    if (ReadRegistryText(key.Get(), nullptr, &command, &error)) {
        Diag("AssociateExtension: WARNING - HKLM registration exists: %s\n", command.c_str());
        ShowBox(FormatText("Warning: A system-wide registration exists in HKEY_LOCAL_MACHINE:\n\n%s\n\n"
                       "This may override your user registration. You may need administrator rights to change it.",
                       command.c_str()),
                MB_ICONEXCLAMATION);
    }
}

void AddOpenWithProgId(const std::string& extensionKey, const std::string& progId)
{
    UniqueRegistryKey key;
    LONG result = CreateRegistryKey(HKEY_CURRENT_USER, extensionKey + "\\OpenWithProgids", key.Receive());
    if (result != ERROR_SUCCESS) {
        Diag("AssociateExtension: Failed to create OpenWithProgids key (err %d)\n", (int)result);
        return;
    }
    result = RegSetValueExA(key.Get(), progId.c_str(), 0, REG_NONE, nullptr, 0);
    key.Reset();
    if (result != ERROR_SUCCESS)
        Diag("AssociateExtension: Failed to set OpenWithProgids value (err %d)\n", (int)result);
    else
        Diag("AssociateExtension: Added OpenWithProgids entry\n");
}

void VerifyCommand(const std::string& commandKey, const std::string& openCommand)
{
    UniqueRegistryKey key;
    LONG result = RegOpenKeyExA(HKEY_CURRENT_USER, commandKey.c_str(), 0, KEY_READ, key.Receive());
    if (result != ERROR_SUCCESS) {
        Diag("AssociateExtension: Verification failed to open key (err %d)\n", (int)result);
        return;
    }
    std::string stored;
    LONG error = 0;
    bool read = ReadRegistryText(key.Get(), nullptr, &stored, &error);
    key.Reset();
    if (!read) {
        Diag("AssociateExtension: Verification failed to read back (err %d)\n", (int)error);
        return;
    }
    Diag("AssociateExtension: Verification successful: %s\n", stored.c_str());
    if (stored != openCommand) {
        Diag("AssociateExtension: WARNING - command doesn't match!\n");
        Diag("  Expected: %s\n", openCommand.c_str());
        Diag("  Got:      %s\n", stored.c_str());
    }
}

}  // namespace

AssociationHost CurrentAssociationHost()
{
    AssociationHost host;
    host.modulePath = CurrentModulePath();
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    static_assert(sizeof(OSVERSIONINFOA) == 148, "the ANSI version block the system expects");
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    if (GetVersionExA(&version)) {
        host.majorVersion = version.dwMajorVersion;
        host.minorVersion = version.dwMinorVersion;
    }
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return host;
}

std::string OpenCommandFor(const std::string& modulePath) { return FormatText("\"%s\" \"%%1\"", modulePath.c_str()); }

void AssociateExtension(const std::string& extension, const std::string& progId)
{
    AssociateExtension(extension, progId, CurrentAssociationHost());
}

void AssociateExtension(const std::string& extension, const std::string& progId, const AssociationHost& host)
{
    const std::string openCommand = OpenCommandFor(host.modulePath);
    Diag("AssociateExtension: Registering %s -> %s\n", extension.c_str(), openCommand.c_str());

    bool modernShell = false;
    if (host.majorVersion < 10) {
        Diag("AssociateExtension: Pre-Windows 10 detected (v%d.%d) - using traditional registration\n",
             (int)host.majorVersion, (int)host.minorVersion);
    } else {
        modernShell = true;
        Diag("AssociateExtension: Windows 10+ detected - using enhanced registration\n");
    }

    bool userChoice = false;
    if (modernShell) {
        userChoice = HasUserChoice(extension);
        if (userChoice)
            Diag("AssociateExtension: UserChoice exists - will use OpenWithProgids method\n");
        RegisterAsApplication(openCommand);
    }

    const std::string extensionKey = kClassesKey + extension;
    const std::string progIdKey = kClassesKey + progId;
    const std::string commandKey = progIdKey + "\\shell\\open\\command";

    WarnAboutMachineRegistration(commandKey);

    // Start from scratch: whatever an earlier registration left below the
    // extension or the ProgID could change how the shell reads the new one.
    LONG result = DeleteRegistryTree(HKEY_CURRENT_USER, extensionKey);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        Diag("AssociateExtension: Warning - failed to delete old extension (err %d)\n", (int)result);
    else
        Diag("AssociateExtension: Cleaned old extension key\n");
    result = DeleteRegistryTree(HKEY_CURRENT_USER, progIdKey);
    if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
        Diag("AssociateExtension: Warning - failed to delete old ProgID (err %d)\n", (int)result);
    else
        Diag("AssociateExtension: Cleaned old ProgID structure\n");

    UniqueRegistryKey key;
    result = CreateRegistryKey(HKEY_CURRENT_USER, extensionKey, key.Receive());
    if (result != ERROR_SUCCESS) {
        Diag("AssociateExtension: Failed to create ext key (err %d)\n", (int)result);
        ShowBox(FormatText("Failed to create registry key for %s\n\nError code: %d", extension.c_str(), (int)result),
                MB_ICONSTOP);
        return;
    }
    result = WriteRegistryText(key.Get(), nullptr, progId);
    key.Reset();
    if (result != ERROR_SUCCESS) {
        Diag("AssociateExtension: Failed to set ext default value (err %d)\n", (int)result);
        ShowBox(FormatText("Failed to set default value for %s\n\nError code: %d", extension.c_str(), (int)result),
                MB_ICONSTOP);
        return;
    }
    Diag("AssociateExtension: Set %s -> %s\n", extension.c_str(), progId.c_str());

    if (modernShell)
        AddOpenWithProgId(extensionKey, progId);

    result = CreateRegistryKey(HKEY_CURRENT_USER, commandKey, key.Receive());
    if (result != ERROR_SUCCESS) {
        Diag("AssociateExtension: Failed to create command key (err %d)\n", (int)result);
        ShowBox(FormatText("Failed to create open command key\n\nError code: %d", (int)result), MB_ICONSTOP);
        return;
    }
    result = WriteRegistryText(key.Get(), nullptr, openCommand);
    key.Reset();
    if (result != ERROR_SUCCESS) {
        Diag("AssociateExtension: Failed to set command value (err %d)\n", (int)result);
        ShowBox(FormatText("Failed to set open command\n\nError code: %d", (int)result), MB_ICONSTOP);
        return;
    }
    Diag("AssociateExtension: Set command -> %s\n", openCommand.c_str());

    VerifyCommand(commandKey, openCommand);

    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
    Sleep(kShellRefreshPauseMs);

    if (modernShell && userChoice) {
        ShowBox(FormatText("%s files have been registered with Tavrel.\n\nPath: %s\n\nNote: Windows has a user preference "
                       "set for %s files. If double-clicking doesn't work, right-click a %s file, choose 'Open with', "
                       "select Tavrel, and check 'Always use this app'.",
                       extension.c_str(), host.modulePath.c_str(), extension.c_str(), extension.c_str()),
                MB_ICONINFORMATION);
    } else {
        ShowBox(FormatText("%s files are now associated with this copy of Tavrel.\n\nPath: %s", extension.c_str(), host.modulePath.c_str()),
                MB_ICONINFORMATION);
    }
}
