#pragma once
// File helpers shared by the Windows tests and the end-to-end driver.
#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);
// Copies a folder with everything below it; false when anything failed.
bool CopyTree(const std::string& from, const std::string& to);
// Removes a folder with everything below it, read-only files included.
void DeleteTree(const std::string& folder);
