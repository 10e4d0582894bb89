#include "cli_run.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check_command.h"
#include "cli_args.h"
#include "cli_usage.h"
#include "common/app_state.h"
#include "common/text.h"
#include "console_ui.h"
#include "front/ui.h"
#include "game_lookup.h"
#include "host_paths.h"
#include "model/stored_path.h"
#include "variants/naming.h"
#include "variants/texture_path.h"
#include "variants/variant_writer.h"

namespace {

// What make was given, checked before anything is read.
struct MakeInputs {
  std::string model;                      // full path
  std::string outFolder;                  // full path; empty: beside the model
  std::vector<std::string> textureFiles;  // full paths, in the command line's order
  FileDialogChoice textures;
  std::map<std::string, std::string> gamePaths;  // --game-path: by each texture's file name
};

// The model's full path, as the model dialog returns a choice; empty with a usage error
// when the dialog could not have returned it.
std::string ModelPath(const std::string& model, std::string& error) {
  std::string full = FullPath(model);
  if (full.empty()) {
    error = "cannot form the full path of " + model;
  } else if (full.size() >= kModelPathCapacity) {
    error = "the full path of MODEL has " + std::to_string(full.size()) + " characters; at most " +
            std::to_string(kModelPathCapacity - 1) + " can be used";
  } else if (const PathKind kind = KindOf(full);
             kind == PathKind::kFolder || kind == PathKind::kOther) {
    // A missing file is left to the load to report, as the dialog does.
    error = "MODEL is not a file: " + model;
  } else {
    return full;
  }
  return {};
}

// The folder --out names, as a full path; empty with a usage error when it is no folder.
std::string OutputFolder(const std::string& dir, std::string& error) {
  error = FolderMistake("--out", dir);
  const std::string full = error.empty() ? FullPath(dir) : std::string();
  if (error.empty() && full.empty()) error = "cannot form the full path of " + dir;
  return full;
}

// What the texture dialog returns for these files: the first file's folder and every
// file's name. Only the names end up in the copies, so files of several folders can be
// taken together.
bool TextureChoice(const std::vector<std::string>& textures, MakeInputs& in, std::string& error) {
  std::vector<std::string>& fullPaths = in.textureFiles;
  std::vector<std::string> names;
  for (const std::string& texture : textures) {
    const PathKind kind = KindOf(texture);
    const std::string full = FullPath(texture);
    if (kind != PathKind::kFile || full.empty()) {
      error = kind == PathKind::kMissing ? "texture file not found: " + texture
              : kind != PathKind::kFile  ? "texture is not a file: " + texture
                                         : "cannot form the full path of " + texture;
      return false;
    }
    fullPaths.push_back(full);
    names.push_back(full.substr(FileNameStart(full)));
  }
  const std::string& first = fullPaths.front();
  FileDialogChoice& choice = in.textures;
  choice = names.size() == 1
               ? OneFileChoice(first)
               : SeveralFilesChoice(WithoutClosingSeparator(first.substr(0, FileNameStart(first))),
                                    names);
  if (choice.buffer.size() > kTextureDialogBufferSize) {
    error = "the TEXTURE names take " + std::to_string(choice.buffer.size()) +
            " bytes together; at most " + std::to_string(kTextureDialogBufferSize) +
            " can be chosen at once";
    return false;
  }
  return true;
}

// Each texture's path as the game finds it. The copies are told apart by the textures'
// file names, so two that differ only in letter case would be one file to the game.
bool GamePaths(const std::vector<std::string>& textures, MakeInputs& in, std::string& error) {
  std::map<std::string, std::string> byGameName;
  for (std::size_t i = 0; i < textures.size(); ++i) {
    const std::string &texture = textures[i], &full = in.textureFiles[i];
    const std::optional<std::string> path = GameTexturePath(full);
    if (!path) {
      error = "--game-path: no folder named textures holds " + texture;
      return false;
    }
    const std::string name = full.substr(FileNameStart(full));
    if (const auto [at, added] = byGameName.emplace(GameName(name), texture); !added) {
      error = "--game-path: " + at->second + " and " + texture + " have the same file name";
      return false;
    }
    in.gamePaths[name] = *path;
  }
  return true;
}

bool CheckMakeInputs(const CliArgs& cli, MakeInputs& in, std::string& error) {
  in.model = ModelPath(cli.model, error);
  if (in.model.empty()) return false;
  if (!cli.outDir.empty()) {
    in.outFolder = OutputFolder(cli.outDir, error);
    if (in.outFolder.empty()) return false;
  }
  if (!TextureChoice(cli.textures, in, error)) return false;
  return !cli.gamePath || GamePaths(cli.textures, in, error);
}

// Presses Select NIF with the model chosen; false once the load has told why it failed.
bool PressSelectNif(const std::string& model) {
  ConsoleOpenDialog();
  TheConsole().fileDialog = OneFileChoice(model);
  ConsolePress(kSelectNifButton);
  return g_app.refCount > 0;
}

// Presses Select Textures with the textures chosen; false once the dialog refused them.
bool TakeTextures(const FileDialogChoice& textures) {
  TheConsole().fileDialog = textures;
  ConsolePress(kSelectTexturesButton);
  if (TheConsole().createNifsEnabled) return true;
  // The dialog has said why unless its selection failed.
  if (!TheConsole().errorShown)
    std::fprintf(stderr, "%s: the textures could not be taken\n", kProgram);
  return false;
}

// The table rows --ref and --ref-name choose; the writer takes them in file order, once each.
bool ChooseRows(const CliArgs& cli, std::vector<std::uint32_t>& rows, std::string& error) {
  const std::string count = std::to_string(g_app.refCount) + " texture reference(s)";
  for (const std::uint32_t ref : cli.refs) {
    if (ref >= g_app.refCount) {
      error = "--ref " + std::to_string(ref) + " is out of range: the model has " + count +
              ", 0 to " + std::to_string(g_app.refCount - 1);
      return false;
    }
    rows.push_back(ref);
  }
  for (const std::string& name : cli.refNames) {
    const std::size_t before = rows.size();
    for (std::uint32_t i = 0; i < g_app.refCount; ++i) {
      if (EqualNoCase(TextIn(g_app.refs[i].displayName), name)) rows.push_back(i);
    }
    if (rows.size() == before) {
      error = "--ref-name " + name + " names none of the model's " + count;
      return false;
    }
  }
  return true;
}

// What each replacement names in the copies, in the replacement list's order: its path as
// the game finds it, or (empty) its bare name.
std::vector<std::string> TexturePaths(const MakeInputs& in) {
  std::vector<std::string> paths;
  if (in.gamePaths.empty()) return paths;
  for (std::uint32_t i = 0; i < g_app.replacementCount; ++i)
    paths.push_back(in.gamePaths.at(std::string(TextIn(g_app.replacements[i].name))));
  return paths;
}

// Every path the copies would give the chosen references must fit. A bare name has at most
// 99 characters; a kept folder or a game path can make one too long.
bool NewPathsFit(const CliArgs& cli, std::span<const std::uint32_t> rows,
                 std::span<const std::string> texturePaths, std::string& error) {
  const std::span<const std::uint8_t> image(g_app.modelImage.get(), g_app.modelSize);
  for (std::uint32_t i = 0; i < g_app.replacementCount; ++i) {
    const std::string_view name =
        texturePaths.empty() ? TextIn(g_app.replacements[i].name) : texturePaths[i];
    for (const std::uint32_t row : rows) {
      const std::string path =
          NewTexturePath(StoredPath(image, g_app.refs[row]), name, cli.keepFolder);
      if (path.size() > kMaxTexturePath) {
        error = std::string(cli.keepFolder ? "with --keep-folder" : "with --game-path") +
                ", reference " + std::to_string(row) + " would get a path of " +
                std::to_string(path.size()) + " bytes for " + std::string(name) + "; at most " +
                std::to_string(kMaxTexturePath) + " can be used";
        return false;
      }
    }
  }
  return true;
}

// The copies' base path: the model's own, or its file-name part in the output folder.
std::string CopiesBasePath(const std::string& model, const std::string& outFolder) {
  const std::string base = MakeBasePath(model);
  return outFolder.empty() ? base : JoinPath(outFolder, base.substr(FileNameStart(base)));
}

void PrintPlannedCopy(const char* outputPath, const char* texture) {
  std::printf("%s\t%s\n", outputPath, texture);
  std::fflush(stdout);
}

// Writes the copies: through Create NIFs when the dialog could have made them itself.
void WriteCopies(const CliArgs& cli, const MakeInputs& in, std::span<const std::uint32_t> rows,
                 std::span<const std::string> texturePaths) {
  TheConsole().showProgress = !cli.dryRun && StderrIsTerminal();
  if (rows.size() == 1 && !cli.keepFolder && !cli.gamePath && in.outFolder.empty() && !cli.dryRun) {
    TheConsole().textureRow = static_cast<int>(rows.front());
    ConsolePress(kCreateNifsButton);
    return;
  }
  VariantJob job;
  job.refs = rows;
  job.keepFolder = cli.keepFolder;
  job.texturePaths = texturePaths;
  job.basePath = CopiesBasePath(in.model, in.outFolder);
  if (cli.dryRun) job.planned = PrintPlannedCopy;
  WriteVariants(job);
}

// Prints the dialog's other messages on `notes` and gives the exit status.
int Report(std::FILE* notes) {
  std::fputs(TheConsole().notes.c_str(), notes);
  return TheConsole().errorShown ? kExitErrorShown : kExitDone;
}

void PrintReferences(bool withPath) {
  const std::span<const std::uint8_t> image(g_app.modelImage.get(), g_app.modelSize);
  for (std::uint32_t i = 0; i < g_app.refCount; ++i) {
    const TextureRef& ref = g_app.refs[i];
    std::printf("%u\t%u\t%u\t%s", i, ref.lengthOffset, ref.tailOffset, ref.displayName);
    if (withPath) {
      const std::string_view path = StoredPath(image, ref);
      std::printf("\t%.*s", static_cast<int>(path.size()), path.data());
    }
    std::putchar('\n');
  }
}

// Standard output carries the table alone, for other tools to read.
int List(const CliArgs& cli) {
  std::string error;
  const std::string model = ModelPath(cli.model, error);
  if (model.empty()) return UsageError(error);
  if (PressSelectNif(model)) PrintReferences(cli.longList);
  return Report(stderr);
}

int Make(const CliArgs& cli) {
  MakeInputs in;
  std::string error;
  if (!CheckMakeInputs(cli, in, error)) return UsageError(error);
  if (!PressSelectNif(in.model)) return Report(stdout);
  std::vector<std::uint32_t> rows;
  if (!ChooseRows(cli, rows, error)) return UsageError(error);
  TheConsole().acceptSuffixes = cli.suffix;
  if (!TakeTextures(in.textures)) return Report(stdout);
  const std::vector<std::string> texturePaths = TexturePaths(in);
  if (!NewPathsFit(cli, rows, texturePaths, error)) return UsageError(error);
  WriteCopies(cli, in, rows, texturePaths);
  // A dry run keeps standard output for its plan.
  return Report(cli.dryRun ? stderr : stdout);
}

}  // namespace

int RunCli(std::span<const char* const> args) {
  const CliParse parse = ParseCliArgs(args);
  if (!parse.ok) return UsageError(parse.error);
  switch (parse.args.command) {
    case CliCommand::kHelp:
      PrintUsage();
      return kExitDone;
    case CliCommand::kVersion:
      std::printf("%s %s\n", kProgram, TEXMINT_VERSION);
      return kExitDone;
    case CliCommand::kList:
      return List(parse.args);
    case CliCommand::kMake:
      return Make(parse.args);
    case CliCommand::kCheck: {
      std::string error;
      const int status = RunCheck(parse.args.sources, parse.args.models, error);
      return status == kExitUsage ? UsageError(error) : status;
    }
    case CliCommand::kFix:
      return UsageError("fix is being built");  // TODO(fix): RunFix
  }
  return kExitUsage;
}
