#include "fix_command.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cli_run.h"
#include "front/host_files.h"
#include "game_lookup.h"
#include "host_paths.h"
#include "model/stored_path.h"
#include "model_files.h"
#include "variants/texture_path.h"
#include "variants/variant_writer.h"

namespace {

namespace fs = std::filesystem;

// The game's texture files by their file name: the textures a misplaced name may mean.
// The views point into the game's files.
using TexturesByName = std::unordered_map<std::string_view, std::vector<std::string_view>>;

TexturesByName IndexTextures(const GameFiles& files) {
  TexturesByName index;
  for (const std::string& name : files) {
    if (name.starts_with(kTexturesPrefix)) index[GameFileName(name)].push_back(name);
  }
  return index;
}

// The textures a missing reference may mean, in byte order: those of its lookup's file name
// with the extension the game tries first, else those of the name as stored.
std::vector<std::string_view> Candidates(const GameLookup& lookup, const TexturesByName& index) {
  for (const std::string* name : {&lookup.e, &lookup.n}) {
    if (const auto at = index.find(GameFileName(*name)); at != index.end()) {
      std::vector<std::string_view> candidates = at->second;
      std::ranges::sort(candidates);
      return candidates;
    }
  }
  return {};
}

std::string Joined(std::span<const std::string_view> names) {
  std::string joined;
  for (const std::string_view name : names) joined.append(joined.empty() ? "" : ";").append(name);
  return joined;
}

// Whether a model can name the texture by its whole game name; said on stderr when not.
bool Storable(const ModelFile& file, std::uint32_t index, std::string_view name) {
  if (name.size() <= kMaxTexturePath) return true;
  ReportOn(file.path, "reference " + std::to_string(index) +
                          " is left as it is: " + std::string(name) + " is longer than the " +
                          std::to_string(kMaxTexturePath) + " bytes a texture path may have");
  return false;
}

struct FixRun {
  const CliArgs& cli;
  const GameFiles& files;
  TexturesByName textures;
};

// Writes the fixed model where the mode sends it; false when it could not (said on stderr).
bool WriteFixed(const FixRun& run, const ModelFile& file, const ModelRefs& model,
                std::span<const PathEdit> edits) {
  const bool inPlace = run.cli.fixMode == FixMode::kInPlace;
  const std::string target = inPlace ? file.path : JoinPath(run.cli.outDir, file.below);
  if (!inPlace) {
    std::error_code error;
    fs::create_directories(fs::path(target).parent_path(), error);
    if (error) {
      ReportOn(target, "cannot make the folder it goes in");
      return false;
    }
    // --out leaves the models as they are, also when DIR leads back to a model's folder.
    if (g_fileOps->sameFile(target.c_str(), file.path.c_str())) {
      ReportOn(file.path, "not written: the --out target " + target + " is the model itself");
      return false;
    }
  }
  VariantPieces variant;
  BuildVariantPieces(model.bytes(), edits, variant);
  switch (WriteVariantFile(target.c_str(), variant.pieces, inPlace)) {
    case WriteOutcome::kWritten:
      return true;
    case WriteOutcome::kCannotCreate:
      return ReportOn(target, "cannot create the fixed model"), false;
    case WriteOutcome::kCannotWrite:
      return ReportOn(target, "cannot write the fixed model"), false;
  }
  return false;
}

// Prints a line for each missing reference and gives the model out when one was fixed;
// false when a reference is left missing or the model could not be read whole or written.
bool FixModel(const FixRun& run, const ModelFile& file) {
  ModelRefs model;
  if (!ReadModelRefs(file.path, model)) return false;
  bool mended = !model.truncated;
  std::vector<PathEdit> edits;
  for (std::uint32_t i = 0; i < model.count; ++i) {
    const std::string_view stored = StoredPath(model.bytes(), model.refs[i]);
    const GameLookup lookup = LookUpTexture(stored);
    const std::vector<std::string> names = GameLookupNames(lookup);
    if (FirstFound(names, run.files) != names.end()) continue;
    const std::vector<std::string_view> candidates = Candidates(lookup, run.textures);
    if (candidates.size() > 1) {
      PrintReference(file.path, i, stored, "ambiguous", Joined(candidates));
    } else if (candidates.empty() || !Storable(file, i, candidates[0])) {
      PrintReference(file.path, i, stored, "unfound", names.front());
    } else {
      PrintReference(file.path, i, stored, "fixed", candidates[0]);
      edits.push_back({model.refs[i].lengthOffset, model.refs[i].tailOffset, candidates[0]});
      continue;
    }
    mended = false;
  }
  if (edits.empty() || run.cli.fixMode == FixMode::kDryRun) return mended;
  return WriteFixed(run, file, model, edits) && mended;
}

}  // namespace

int RunFix(const CliArgs& cli, std::string& usageError) {
  GameData data;
  if (!ResolveGameSources("fix", cli.sources, data, usageError)) return kExitUsage;
  if (usageError = ModelsMistake("fix", cli.models); !usageError.empty()) return kExitUsage;
  if (cli.fixMode == FixMode::kOut) usageError = FolderMistake("--out", cli.outDir);
  if (!usageError.empty()) return kExitUsage;
  GameFiles files;
  bool done = ReadGameFiles(data, files);
  const FixRun run{cli, files, IndexTextures(files)};
  for (const std::string& argument : cli.models) {
    std::vector<ModelFile> modelFiles;
    done = ListModelFiles(argument, modelFiles) && done;
    for (const ModelFile& file : modelFiles) done = FixModel(run, file) && done;
  }
  std::fflush(stdout);
  return done ? kExitDone : kExitErrorShown;
}
