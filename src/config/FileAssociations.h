#pragma once
// Registers a form file type with the Windows shell for the current user,
// so that double-clicking such a file opens it in this copy of the program.
// Everything is written under HKEY_CURRENT_USER\Software\Classes; the
// machine-wide classes are only read, to warn about a registration there
// that may take precedence. Every step is traced with a diagnostic line;
// failures the user must know about are message boxes.

#include <windows.h>

#include <string>

// What the registration depends on outside the registry: the executable the
// open command starts, and the Windows version, which decides whether the
// shell's newer "Open with" entries are written as well.
struct AssociationHost {
    std::string modulePath;
    DWORD majorVersion = 0;
    DWORD minorVersion = 0;
};

// The running executable and the version Windows reports to it.
AssociationHost CurrentAssociationHost();

// The shell's open command for a form file: "<exe>" "%1", both quoted so
// that paths with spaces survive.
std::string OpenCommandFor(const std::string& modulePath);

// Rebuilds the registration of `extension` (".gui") pointing to `progId`
// ("tavrel.gui") from scratch, for the running executable.
void AssociateExtension(const std::string& extension, const std::string& progId);
// The same for a given executable path and Windows version.
void AssociateExtension(const std::string& extension, const std::string& progId, const AssociationHost& host);
