#include "cli_run.h"

#include <cstdio>
#include <string>

#include "cli_args.h"
#include "common/app_state.h"
#include "front/ui.h"
#include "front/ui_console.h"
#include "host_paths.h"
#include "variants/variant_writer.h"

namespace {

constexpr char kProgram[] = "texmint-cli";

#ifdef _WIN32
constexpr char kExampleModel[] = "meshes\\rock.nif";
constexpr char kExampleTextures[] = "textures\\rock01.dds textures\\rock02.dds";
#else
constexpr char kExampleModel[] = "meshes/rock.nif";
constexpr char kExampleTextures[] = "textures/rock01.dds textures/rock02.dds";
#endif

void PrintUsage() {
  std::printf(
      "Usage: %s list MODEL\n"
      "       %s make MODEL --ref N [--suffix] TEXTURE...\n"
      "       %s --help | --version\n",
      kProgram, kProgram, kProgram);
  std::fputs(
      "\n"
      "Writes one copy of a NetImmerse model (.nif) per replacement texture. In each copy\n"
      "one texture reference names the texture's file instead of the old one; every other\n"
      "byte is copied unchanged.\n"
      "\n"
      "  list MODEL   print MODEL's external texture references, one a line:\n"
      "               INDEX<TAB>LENGTH_OFFSET<TAB>TAIL_OFFSET<TAB>NAME\n"
      "  make MODEL   write the copies beside MODEL, named after it (its name cut to 24\n"
      "               characters) with _01.nif, _02.nif, ... in the textures' sorted order\n"
      "  --ref N      the reference to replace, N as list numbers it\n"
      "  --suffix     name the copies after the part in which the texture names differ\n"
      "               (rock01.dds and rock02.dds give _01.nif and _02.nif) when possible\n"
      "\n"
      "Only the TEXTURE files' names go into the copies; the files must exist.\n"
      "Exit status: 0 done, 1 an error was reported, 2 wrong usage (nothing written).\n"
      "\n"
      "Example:\n",
      stdout);
  std::printf("  %s list %s\n", kProgram, kExampleModel);
  std::printf("  %s make %s --ref 0 --suffix %s\n", kProgram, kExampleModel, kExampleTextures);
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
      case PathKind::kNotAFile:
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

void PrintReferences() {
  for (std::uint32_t i = 0; i < g_app.refCount; ++i) {
    const TextureRef& ref = g_app.refs[i];
    std::printf("%u\t%u\t%u\t%s\n", i, ref.lengthOffset, ref.tailOffset, ref.displayName);
  }
  std::fflush(stdout);
}

int ExitCode() {
  return TheConsole().errorShown ? kExitErrorShown : kExitDone;
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
  if (KindOf(model) == PathKind::kNotAFile) return UsageError("MODEL is not a file: " + cli.model);
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
  if (cli.command == CliCommand::kList) {
    // Standard output carries the table alone, for other tools to read.
    console.information = stderr;
  } else {
    // A note from loading must not come out before a usage error about --ref.
    console.holdInformation = true;
  }

  ConsoleOpenDialog();
  ConsolePress(kSelectNifButton);
  if (g_app.refCount == 0) return kExitErrorShown;  // the load told why
  if (cli.command == CliCommand::kList) {
    PrintReferences();
    return ExitCode();
  }

  if (cli.ref >= g_app.refCount) {
    ConsoleDiscardInformation();
    return UsageError("--ref " + std::to_string(cli.ref) + " is out of range: the model has " +
                      std::to_string(g_app.refCount) + " texture reference(s), 0 to " +
                      std::to_string(g_app.refCount - 1));
  }
  ConsoleReleaseInformation();
  console.answers.textureRow = static_cast<int>(cli.ref);

  ConsolePress(kSelectTexturesButton);
  if (!console.createNifsEnabled) {
    // The dialog refused the textures; it has said why unless its selection failed.
    if (!console.errorShown)
      std::fprintf(stderr, "%s: the textures could not be taken\n", kProgram);
    return kExitErrorShown;
  }
  TheConsole().showProgress = StderrIsTerminal();
  ConsolePress(kCreateNifsButton);
  return ExitCode();
}
