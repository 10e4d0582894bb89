// Model files for the scenarios: small images built byte by byte, copies of the real
// fixtures, and the bytes a copy with one texture reference replaced must have.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Where one external texture reference's path lies in a model file.
struct RefSpan {
  std::uint32_t lengthOffset;
  std::uint32_t tailOffset;
};

struct BuiltModel {
  Bytes bytes;
  std::vector<RefSpan> refs;  // external references, in file order
};

BuiltModel NewModel(std::string_view header = "NetImmerse File Format, Version 4.0.0.2\n");
// Appends a texture record; flag 1 names an outside file, any other flag holds none.
void AddTextureRecord(BuiltModel& model, std::string_view path, std::uint8_t flag = 1);
void AddBytes(BuiltModel& model, std::string_view bytes);

// The model with `ref`'s path replaced by `name`, everything else unchanged.
Bytes ExpectedCopy(const Bytes& model, const RefSpan& ref, std::string_view name);

// File helpers over Windows paths; failures end the scenario.
Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
void WriteBytes(const std::string& path, std::string_view bytes);
bool FileExists(const std::string& path);
std::vector<std::string> FileNamesIn(const std::string& folder);  // sorted
void FreshFolder(const std::string& folder);
std::string JoinPath(const std::string& folder, std::string_view name);
void ExpectFileBytes(std::string_view what, const std::string& path, const Bytes& expected);
