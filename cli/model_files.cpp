#include "model_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "file_walk.h"
#include "host_paths.h"
#include "model/load_model.h"
#include "model/texture_scan.h"

namespace fs = std::filesystem;

void ReportOn(const std::string& what, std::string_view message) {
  std::fprintf(stderr, "%s: %.*s\n", what.c_str(), static_cast<int>(message.size()),
               message.data());
}

void PrintReference(const std::string& model, std::uint32_t index, std::string_view path,
                    std::string_view outcome, std::string_view name) {
  std::printf("%s\t%u\t%.*s\t%.*s\t%.*s\n", model.c_str(), index, static_cast<int>(path.size()),
              path.data(), static_cast<int>(outcome.size()), outcome.data(),
              static_cast<int>(name.size()), name.data());
}

bool ListModelFiles(const std::string& argument, std::vector<ModelFile>& files) {
  if (KindOf(argument) != PathKind::kFolder) {
    files.push_back({argument, argument.substr(FileNameStart(argument))});
    return true;
  }
  constexpr std::string_view kModelExtension = ".nif";
  std::vector<std::string> below;
  const bool walked = WalkFiles(argument, [&](std::string file, bool) {
    if (HasExtension(file, kModelExtension)) below.push_back(std::move(file));
  });
  std::ranges::sort(below);
  for (std::string& path : below) files.push_back({JoinPath(argument, path), std::move(path)});
  return walked;
}

std::string ModelsMistake(std::string_view command, const std::vector<std::string>& models) {
  if (models.empty()) return std::string(command) + " needs at least one MODEL";
  for (const std::string& model : models) {
    if (KindOf(model) == PathKind::kMissing) return "model not found: " + model;
  }
  return {};
}

bool ReadModelRefs(const std::string& path, ModelRefs& model) {
  if (const char* failure = ReadModelImage(path.c_str(), model.image, model.size)) {
    ReportOn(path, failure);
    return false;
  }
  const ScanResult scan = ScanTextureRefs(model.bytes(), model.refs);
  if (scan.status == ScanStatus::kNotNetImmerse) {
    ReportOn(path, kMsgNotRecognized);
    return false;
  }
  model.count = scan.refCount;
  model.truncated = scan.truncated;
  if (scan.truncated) ReportOn(path, kMsgFirstHundred);
  return true;
}
