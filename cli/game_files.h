// The files the game has: every file below its data folders and every name in the archives
// it loads, each by its game name.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// Where the command line says the game's files are.
struct GameSources {
  std::vector<std::string> dataDirs;  // --data: every file below, and each .bsa right in it
  std::string openmwCfg;              // --openmw-cfg
  std::string morrowindIni;           // --morrowind-ini
};

// The folders and archives to read, once the sources are understood.
struct GameData {
  std::vector<std::string> dataDirs;  // as GameSources::dataDirs
  // The configuration's data folders, lowest priority first, and the archives it loads, by
  // name, in order; each is looked for right in those folders.
  std::vector<std::string> configFolders;
  std::vector<std::string> archiveNames;
};

// false with a one-line `usageError` when the sources `command` was given cannot be used
// (nothing is read).
bool ResolveGameSources(std::string_view command, const GameSources& sources, GameData& data,
                        std::string& usageError);

using GameFiles = std::unordered_set<std::string>;  // game names, as GameName makes them

// Reads every file and archive name of `data` into `files`; false when a folder or archive
// could not be read (each said on stderr, the rest still read).
bool ReadGameFiles(const GameData& data, GameFiles& files);
