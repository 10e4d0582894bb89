#include "model_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include <windows.h>

#include "check.h"

namespace fs = std::filesystem;

namespace {

void AddU32(Bytes& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

BuiltModel NewModel(std::string_view header) {
  BuiltModel model;
  AddBytes(model, header);
  return model;
}

void AddTextureRecord(BuiltModel& model, std::string_view path, std::uint8_t flag) {
  constexpr std::string_view kTypeName = "NiSourceTexture";
  Bytes& b = model.bytes;
  AddU32(b, static_cast<std::uint32_t>(kTypeName.size()));
  const auto typeAt = static_cast<std::uint32_t>(b.size());
  b.insert(b.end(), kTypeName.begin(), kTypeName.end());
  b.insert(b.end(), 12, 0);  // unnamed record: name length 0 and two links
  b.push_back(flag);
  if (flag == 1) {
    AddU32(b, static_cast<std::uint32_t>(path.size()));
    b.insert(b.end(), path.begin(), path.end());
    model.refs.push_back({typeAt + 28, static_cast<std::uint32_t>(b.size())});
  } else {
    AddU32(b, 0);  // a link to the texture data held inside the file
  }
  // What follows a texture record in a real file: formats and flags.
  AddU32(b, 6);
  AddU32(b, 2);
}

void AddBytes(BuiltModel& model, std::string_view bytes) {
  model.bytes.insert(model.bytes.end(), bytes.begin(), bytes.end());
}

Bytes ExpectedCopy(const Bytes& model, const RefSpan& ref, std::string_view name) {
  if (ref.lengthOffset > ref.tailOffset || ref.tailOffset > model.size()) {
    Fail("a reference of the test model lies outside it");
  }
  Bytes copy(model.begin(), model.begin() + ref.lengthOffset);
  AddU32(copy, static_cast<std::uint32_t>(name.size()));
  copy.insert(copy.end(), name.begin(), name.end());
  copy.insert(copy.end(), model.begin() + ref.tailOffset, model.end());
  return copy;
}

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) Fail("cannot write " + path);
}

void WriteBytes(const std::string& path, std::string_view bytes) {
  WriteBytes(path, Bytes(bytes.begin(), bytes.end()));
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::path(path), error);
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(fs::path(folder), error)) {
    names.push_back(entry.path().filename().string());
  }
  if (error) Fail("cannot list " + folder);
  std::sort(names.begin(), names.end());
  return names;
}

void FreshFolder(const std::string& folder) {
  std::error_code error;
  // Files made read-only by an earlier run must go too.
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(folder), error)) {
    SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  fs::remove_all(fs::path(folder), error);
  if (error) Fail("cannot empty " + folder + ": " + error.message());
  fs::create_directories(fs::path(folder), error);
  if (error) Fail("cannot create " + folder + ": " + error.message());
}

std::string JoinPath(const std::string& folder, std::string_view name) {
  std::string path = folder;
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + std::string(name);
}

void ExpectFileBytes(std::string_view what, const std::string& path, const Bytes& expected) {
  if (!FileExists(path)) Fail(std::string(what) + ": " + path + " was not written");
  const Bytes actual = ReadBytes(path);
  if (actual == expected) return;
  const auto mismatch =
      std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
  Fail(std::string(what) + ": " + path + " has " + std::to_string(actual.size()) +
       " bytes, expected " + std::to_string(expected.size()) + "; first difference at offset " +
       std::to_string(mismatch.first - actual.begin()));
}
