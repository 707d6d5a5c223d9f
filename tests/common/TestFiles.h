#pragma once
// File helpers shared by the Windows tests and the end-to-end driver. Paths
// are UTF-8, as everywhere in the program.
#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
// Copies a folder with everything below it; false when anything failed.
bool CopyTree(const std::string& from, const std::string& to);
// Removes a folder with everything below it, read-only files included.
void DeleteTree(const std::string& folder);

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
public:
    // prefix names the folder, so leftovers tell who made them.
    explicit TempFolder(const char* prefix = "velumo-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string Path(const std::string& name) const { return m_path + "\\" + name; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

