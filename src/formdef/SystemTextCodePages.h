#pragma once
// The system's code-page tables for decoding form definitions.

// The system's legacy ANSI code page, as the system default locale names
// it: not what GetACP reports, which the manifest turns into UTF-8.
unsigned SystemLegacyAnsiCodePage();

// Installs the conversions for the whole process; the application calls it
// once at start-up, before any form is read.
void InstallSystemTextCodePages();
