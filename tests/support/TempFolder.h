#pragma once
// A fresh folder of a test's own under the system's temporary folder,
// removed with everything in it at the end. Names are in the program's ANSI
// code page (UTF-8 for test programs that carry the program's manifest).

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Full Windows path, no trailing backslash.
    const std::string& Path() const { return m_path; }
    std::string PathOf(const std::string& name) const { return m_path + "\\" + name; }
    // Writes the bytes unchanged and returns the file's full path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    // Makes a folder inside and returns its full path.
    std::string MakeFolder(const std::string& name) const;
    bool Copy(const std::string& source, const std::string& name) const;

private:
    std::string m_path;
};

bool FileExists(const std::string& path);
