// A private folder for the files the benchmarks write, removed when the run ends.
#pragma once

#include <filesystem>
#include <string>

// Creates a new folder inside `parent`; returns an empty path on failure.
std::filesystem::path MakeScratchFolder(const std::string& parent);

// Removes every scratch folder made so far.
void RemoveScratchFolders();

// Writes `size` bytes to a new file; false on any failure.
bool WriteWholeFile(const std::filesystem::path& path, const void* data, std::size_t size);

// Removes the plain files in `folder` (the folder stays).
void EmptyFolder(const std::filesystem::path& folder);
