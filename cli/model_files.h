// The models the commands that look at many models (check, fix) are given, and their
// texture references.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/app_state.h"

// Says `message` about `what` (a file or folder) on stderr.
void ReportOn(const std::string& what, std::string_view message);

// One model file, named as the commands print it: the argument itself, or the argument's
// folder joined with `below`, its path below that folder. For a file argument `below` is
// the file's name.
struct ModelFile {
  std::string path;
  std::string below;
};

// The model files an argument names: itself, or the .nif files below the folder, in byte
// order of their paths below it. false when a folder could not be read (said on stderr).
bool ListModelFiles(const std::string& argument, std::vector<ModelFile>& files);

// The usage mistake among the models `command` was given, or empty.
std::string ModelsMistake(std::string_view command, const std::vector<std::string>& models);

// A model read whole, with its external texture references.
struct ModelRefs {
  ModelImage image;
  std::uint32_t size = 0;
  std::array<TextureRef, kMaxTextureRefs> refs;
  std::uint32_t count = 0;
  bool truncated = false;  // more than the table holds: the rest go unlooked at

  std::span<const std::uint8_t> bytes() const { return {image.get(), size}; }
};

// false when the file could not be read or is no model (said on stderr). A model with more
// references than the table holds is said on stderr too, and read.
bool ReadModelRefs(const std::string& path, ModelRefs& model);
