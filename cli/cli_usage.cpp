#include "cli_usage.h"

#include <cstdio>

#include "cli_run.h"

void PrintUsage() {
  std::printf(
      "Usage: %s list [--long] MODEL\n"
      "       %s make MODEL --ref N [--suffix] TEXTURE...\n"
      "       %s make MODEL [--ref N]... [--ref-name NAME]... [--keep-folder] [--out DIR]\n"
      "                        [--game-path] [--dry-run] [--suffix] TEXTURE...\n"
      "       %s check [--openmw-cfg FILE | --morrowind-ini FILE] [--data DIR]... MODEL...\n"
      "       %s fix [--openmw-cfg FILE | --morrowind-ini FILE] [--data DIR]...\n"
      "                       (--dry-run | --in-place | --out DIR) MODEL...\n"
      "       %s --help | --version\n",
      kProgram, kProgram, kProgram, kProgram, kProgram, kProgram);
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
      "  --game-path      name each texture as the game finds it: its path below the nearest\n"
      "                   folder named textures (Data Files/Textures/mymod/moss.dds gives\n"
      "                   textures\\mymod\\moss.dds), so textures in a mod's own subfolder are\n"
      "                   found; without it a copy names the bare file name, as the dialog does\n"
      "  --out DIR        write the copies into the existing folder DIR instead\n"
      "  --dry-run        write nothing; print OUTPUT<TAB>TEXTURE for each copy make would\n"
      "                   write, in its order\n"
      "  --suffix         name the copies after the part in which the texture names differ\n"
      "                   (rock01.dds and rock02.dds give _01.nif and _02.nif) when possible\n"
      "  check MODEL      tell whether the game finds each texture MODEL (a model, or a folder\n"
      "                   of them) names, looking it up as the game does in the data folders:\n"
      "                   MODEL<TAB>INDEX<TAB>PATH<TAB>found|missing<TAB>LOOKUP; exit status 1\n"
      "                   when one is missing\n"
      "  --data DIR       a data folder (Data Files): its files and the .bsa archives in it\n"
      "  --openmw-cfg FILE  the data folders OpenMW's openmw.cfg FILE (and the files its\n"
      "                   config= lines lead to) names, and only the archives it names\n"
      "  --morrowind-ini FILE  the Data Files folder beside Morrowind.ini FILE, with\n"
      "                   Morrowind.bsa and the archives of its [Archives] section\n"
      "  fix MODEL        mend each reference check finds missing when exactly one texture\n"
      "                   file below textures has its file name (the name the game tries\n"
      "                   first, else the name as stored), taking what check takes; print\n"
      "                   MODEL<TAB>INDEX<TAB>PATH<TAB>fixed<TAB>NEWPATH (or ambiguous<TAB>\n"
      "                   NAME;NAME... or unfound<TAB>LOOKUP) for each missing one; exit\n"
      "                   status 1 when one is left missing. Only the fixed paths change:\n"
      "                   in the model itself with --in-place (its permissions kept), in a\n"
      "                   copy in the existing folder DIR with --out DIR (at the model's\n"
      "                   path below the MODEL folder, or by its name), nowhere with --dry-run\n"
      "\n"
      "Only the TEXTURE files' names (with --game-path, their paths below textures) go into\n"
      "the copies; the files must exist.\n"
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
  std::printf("  %s check --data \"Data Files\" \"Data Files/Meshes/mymod\"\n", kProgram);
  std::printf("  %s check --openmw-cfg ~/.config/openmw/openmw.cfg \"Data Files/Meshes/mymod\"\n",
              kProgram);
  std::printf("  %s fix --data \"Data Files\" --in-place \"Data Files/Meshes/mymod\"\n", kProgram);
}

int UsageError(const std::string& reason) {
  std::fprintf(stderr, "%s: %s (see %s --help)\n", kProgram, reason.c_str(), kProgram);
  return kExitUsage;
}
