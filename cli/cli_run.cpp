#include "cli_run.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli_args.h"
#include "common/app_state.h"
#include "common/text.h"
#include "front/ui.h"
#include "front/ui_console.h"
#include "host_paths.h"
#include "model/stored_path.h"
#include "variants/naming.h"
#include "variants/texture_path.h"
#include "variants/variant_writer.h"

namespace {

constexpr char kProgram[] = "texmint-cli";

void PrintUsage() {
  std::printf(
      "Usage: %s list [--long] MODEL\n"
      "       %s make MODEL --ref N [--suffix] TEXTURE...\n"
      "       %s make MODEL [--ref N]... [--ref-name NAME]... [--keep-folder] [--out DIR]\n"
      "                        [--dry-run] [--suffix] TEXTURE...\n"
      "       %s --help | --version\n",
      kProgram, kProgram, kProgram, kProgram);
  std::fputs(
      "\n"
      "Writes one copy of a NetImmerse model (.nif) per replacement texture. In each copy\n"
      "the chosen texture references name the texture's file instead of the old one; every\n"
      "other byte is copied unchanged.\n"
      "\n"
      "  list MODEL       print MODEL's external texture references, one a line:\n"
      "                   INDEX<TAB>LENGTH_OFFSET<TAB>TAIL_OFFSET<TAB>NAME\n"
      "  --long           add a fifth column, PATH: the path as stored, with its folders\n"
      "  make MODEL       write the copies beside MODEL, named after it (its name cut to 24\n"
      "                   characters) with _01.nif, _02.nif, ... in the textures' sorted order\n"
      "  --ref N          replace reference N, as list numbers it; may be repeated\n"
      "  --ref-name NAME  replace every reference whose NAME is NAME, ignoring letter case;\n"
      "                   may be repeated, and combined with --ref\n"
      "  --keep-folder    each replaced reference keeps its folder: textures\\rfd\\old.dds\n"
      "                   with moss.dds gives textures\\rfd\\moss.dds (else just moss.dds)\n"
      "  --out DIR        write the copies into the existing folder DIR instead\n"
      "  --dry-run        write nothing; print OUTPUT<TAB>TEXTURE for each copy make would\n"
      "                   write, in its order\n"
      "  --suffix         name the copies after the part in which the texture names differ\n"
      "                   (rock01.dds and rock02.dds give _01.nif and _02.nif) when possible\n"
      "\n"
      "Only the TEXTURE files' names go into the copies; the files must exist.\n"
      "Exit status: 0 done, 1 an error was reported, 2 wrong usage (nothing written).\n"
      "\n"
      "Example:\n",
      stdout);
  std::printf("  %s list --long rock.nif\n", kProgram);
  std::printf("  %s make rock.nif --ref-name tx_merp_mirkwood_stone01.dds --keep-folder %s\n",
              kProgram, "moss01.dds moss02.dds");
  std::fputs(
      "For rock.nif, a copy of tests/models/morrowind_mossyrock.nif from Texmint's sources,\n"
      "list shows two references, both stored as tx_merp_mirkwood_stone01.dds. make replaces\n"
      "both in each copy and keeps their folder (here none): rock_01.nif names moss01.dds\n"
      "twice, rock_02.nif moss02.dds.\n",
      stdout);
}

int UsageError(const std::string& reason) {
  std::fprintf(stderr, "%s: %s (see %s --help)\n", kProgram, reason.c_str(), kProgram);
  return kExitUsage;
}

struct TextureChoice {
  std::string buffer;  // the texture dialog's result
  std::uint16_t fileOffset = 0;
};

// Forms what the texture dialog returns for these files: the one-file shape for a single
// file, else the first file's folder followed by every file's bare name. Only the names
// end up in the copies, so files from several folders can be taken together.
bool ChooseTextures(const std::vector<std::string>& textures, TextureChoice& choice,
                    std::string& error) {
  std::vector<std::string> fullPaths;
  for (const std::string& texture : textures) {
    switch (KindOf(texture)) {
      case PathKind::kMissing:
        error = "texture file not found: " + texture;
        return false;
      case PathKind::kFolder:
      case PathKind::kOther:
        error = "texture is not a file: " + texture;
        return false;
      case PathKind::kFile:
        break;
    }
    fullPaths.push_back(FullPath(texture));
    if (fullPaths.back().empty()) {
      error = "cannot form the full path of " + texture;
      return false;
    }
  }

  const std::string& first = fullPaths.front();
  const std::size_t firstName = FileNameStart(first);
  if (fullPaths.size() == 1) {
    choice.buffer = first + std::string(2, '\0');
    choice.fileOffset = static_cast<std::uint16_t>(firstName);
  } else {
    // The folder without its last separator, but a root folder keeps it.
    const std::string folder = first.substr(0, firstName > 1 ? firstName - 1 : firstName);
    choice.buffer = folder + '\0';
    for (const std::string& path : fullPaths) {
      choice.buffer.append(path, FileNameStart(path)).push_back('\0');
    }
    choice.buffer.push_back('\0');
    choice.fileOffset = static_cast<std::uint16_t>(folder.size() + 1);
  }
  if (choice.buffer.size() > kTextureDialogBufferSize) {
    error = "the TEXTURE names take " + std::to_string(choice.buffer.size()) +
            " bytes together; at most " + std::to_string(kTextureDialogBufferSize) +
            " can be chosen at once";
    return false;
  }
  return true;
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
  std::fflush(stdout);
}

int ExitCode() {
  return TheConsole().errorShown ? kExitErrorShown : kExitDone;
}

// The folder --out names, as a full path; empty with a usage error when it is no folder.
std::string OutputFolder(const std::string& dir, std::string& error) {
  // Windows' stat refuses a folder named with a closing separator.
  const std::string full = WithoutClosingSeparator(FullPath(dir));
  if (full.empty()) {
    error = "cannot form the full path of " + dir;
  } else if (const PathKind kind = KindOf(full); kind != PathKind::kFolder) {
    error =
        (kind == PathKind::kMissing ? "--out folder not found: " : "--out is not a folder: ") + dir;
  } else {
    return full;
  }
  return {};
}

// The copies' base path: the model's own, or its file-name part in the output folder.
std::string CopiesBasePath(const std::string& model, const std::string& outFolder) {
  const std::string base = MakeBasePath(model);
  if (outFolder.empty()) return base;
  std::string folder = outFolder;
  if (FileNameStart(folder) != folder.size()) folder += kPathSeparator;
  return folder + base.substr(FileNameStart(base));
}

// The table rows --ref and --ref-name choose; the writer takes them in file order, once each.
bool ChooseRows(const CliArgs& cli, std::vector<std::uint32_t>& rows, std::string& error) {
  for (const std::uint32_t ref : cli.refs) {
    if (ref >= g_app.refCount) {
      error = "--ref " + std::to_string(ref) + " is out of range: the model has " +
              std::to_string(g_app.refCount) + " texture reference(s), 0 to " +
              std::to_string(g_app.refCount - 1);
      return false;
    }
    rows.push_back(ref);
  }
  for (const std::string& name : cli.refNames) {
    bool found = false;
    for (std::uint32_t i = 0; i < g_app.refCount; ++i) {
      if (EqualNoCase(TextIn(g_app.refs[i].displayName), name)) {
        rows.push_back(i);
        found = true;
      }
    }
    if (!found) {
      error = "--ref-name " + name + " names none of the model's " +
              std::to_string(g_app.refCount) + " texture reference(s)";
      return false;
    }
  }
  return true;
}

// Every path the copies would give the chosen references must fit. Only a kept folder can
// make one too long: a bare name has at most 99 characters.
bool NewPathsFit(std::span<const std::uint32_t> rows, bool keepFolder, std::string& error) {
  const std::span<const ReplacementName> names(g_app.replacements.data(), g_app.replacementCount);
  const auto longest = std::ranges::max_element(
      names, {}, [](const ReplacementName& n) { return TextIn(n.name).size(); });
  if (longest == names.end()) return true;
  const std::span<const std::uint8_t> image(g_app.modelImage.get(), g_app.modelSize);
  for (const std::uint32_t row : rows) {
    const std::string path =
        NewTexturePath(StoredPath(image, g_app.refs[row]), longest->name, keepFolder);
    if (path.size() > kMaxTexturePath) {
      error = "with --keep-folder, reference " + std::to_string(row) + " would get a path of " +
              std::to_string(path.size()) + " bytes for " + longest->name + "; at most " +
              std::to_string(kMaxTexturePath) + " can be used";
      return false;
    }
  }
  return true;
}

// Presses Select Textures; false once the dialog refused the textures.
bool TakeTextures() {
  ConsolePress(kSelectTexturesButton);
  if (TheConsole().createNifsEnabled) return true;
  // The dialog has said why unless its selection failed.
  if (!TheConsole().errorShown)
    std::fprintf(stderr, "%s: the textures could not be taken\n", kProgram);
  return false;
}

void PrintPlannedCopy(const char* outputPath, const char* texture) {
  std::printf("%s\t%s\n", outputPath, texture);
  std::fflush(stdout);
}

}  // namespace

int RunCli(std::span<const char* const> args) {
  const CliParse parse = ParseCliArgs(args);
  if (!parse.ok) return UsageError(parse.error);
  const CliArgs& cli = parse.args;
  if (cli.command == CliCommand::kHelp) {
    PrintUsage();
    return kExitDone;
  }
  if (cli.command == CliCommand::kVersion) {
    std::printf("%s %s\n", kProgram, TEXMINT_VERSION);
    return kExitDone;
  }

  // Everything the command line can get wrong is checked before anything is read.
  const std::string model = FullPath(cli.model);
  if (model.empty()) return UsageError("cannot form the full path of " + cli.model);
  if (model.size() >= kModelPathCapacity) {
    return UsageError("the full path of MODEL has " + std::to_string(model.size()) +
                      " characters; at most " + std::to_string(kModelPathCapacity - 1) +
                      " can be used");
  }
  // The dialog cannot choose a folder; a missing file is left to the load to report.
  if (const PathKind kind = KindOf(model); kind == PathKind::kFolder || kind == PathKind::kOther)
    return UsageError("MODEL is not a file: " + cli.model);
  std::string outFolder;
  if (!cli.outDir.empty()) {
    std::string error;
    outFolder = OutputFolder(cli.outDir, error);
    if (outFolder.empty()) return UsageError(error);
  }
  TextureChoice textures;
  if (cli.command == CliCommand::kMake) {
    std::string error;
    if (!ChooseTextures(cli.textures, textures, error)) return UsageError(error);
  }

  Console& console = TheConsole();
  console.answers.modelPath = model;
  console.answers.textureSelection = std::move(textures.buffer);
  console.answers.textureFileOffset = textures.fileOffset;
  console.answers.acceptSuffixes = cli.suffix;
  if (cli.command == CliCommand::kList || cli.dryRun) {
    // Standard output carries the table or the plan alone, for other tools to read.
    console.information = stderr;
  }
  if (cli.command == CliCommand::kMake) {
    // A note from loading must not come out before a usage error about the references.
    console.holdInformation = true;
  }

  ConsoleOpenDialog();
  ConsolePress(kSelectNifButton);
  if (g_app.refCount == 0) return kExitErrorShown;  // the load told why
  if (cli.command == CliCommand::kList) {
    PrintReferences(cli.longList);
    return ExitCode();
  }

  std::vector<std::uint32_t> rows;
  std::string error;
  if (!ChooseRows(cli, rows, error)) {
    ConsoleDiscardInformation();
    return UsageError(error);
  }

  if (rows.size() == 1 && !cli.keepFolder && outFolder.empty() && !cli.dryRun) {
    // What the dialog itself can do is done by the dialog's own commands.
    ConsoleReleaseInformation();
    console.answers.textureRow = static_cast<int>(rows.front());
    if (!TakeTextures()) return kExitErrorShown;
    console.showProgress = StderrIsTerminal();
    ConsolePress(kCreateNifsButton);
    return ExitCode();
  }

  if (!TakeTextures()) {
    ConsoleReleaseInformation();
    return kExitErrorShown;
  }
  if (!NewPathsFit(rows, cli.keepFolder, error)) {
    ConsoleDiscardInformation();
    return UsageError(error);
  }
  ConsoleReleaseInformation();
  VariantJob job;
  job.refs = rows;
  job.keepFolder = cli.keepFolder;
  job.basePath = CopiesBasePath(model, outFolder);
  if (cli.dryRun) job.planned = PrintPlannedCopy;
  console.showProgress = !cli.dryRun && StderrIsTerminal();
  WriteVariants(job);
  return ExitCode();
}
