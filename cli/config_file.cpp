#include "config_file.h"

#include <cstdio>
#include <memory>

#include "host_paths.h"

bool ReadWholeFile(const std::filesystem::path& file, std::string& text) {
  text.clear();
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(file.string().c_str(), "rb"),
                                                           std::fclose);
  if (!in) return false;
  char buffer[65536];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in.get())) > 0;)
    text.append(buffer, got);
  return std::ferror(in.get()) == 0;
}

bool ReadConfigFile(const char* option, const std::string& file, std::string& text,
                    std::string& error) {
  const PathKind kind = KindOf(file);
  if (kind == PathKind::kFile && ReadWholeFile(file, text)) return true;
  error = std::string(option) +
          (kind == PathKind::kMissing ? " file not found: "
           : kind != PathKind::kFile  ? " is not a file: "
                                      : " cannot be read: ") +
          file;
  return false;
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

std::string_view TrimBlanks(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t start = text.find_first_not_of(kBlanks);
  if (start == text.npos) return {};
  return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}
