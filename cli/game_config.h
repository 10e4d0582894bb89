// The files the game itself loads, as its own configuration names them: OpenMW's openmw.cfg
// (with the files it leads to) or the original engine's Morrowind.ini.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct GameConfig {
  std::vector<std::string> dataFolders;   // existing folders, lowest priority first
  std::vector<std::string> archiveNames;  // in load order; each is looked for in dataFolders
};

// What one openmw.cfg says that matters here: path values unquoted, not yet resolved.
struct OpenmwCfgLines {
  std::vector<std::string> data, config, fallbackArchives;
  std::vector<std::string> dataLocal, resources;  // at most one each
  bool replaceConfig = false, replaceData = false, replaceArchives = false;
};

// The text of one openmw.cfg; false with "LINE: reason" when OpenMW would refuse it.
bool ParseOpenmwCfgText(std::string_view text, OpenmwCfgLines& lines, std::string& error);

// FILE and the files its config= lines lead to; false with one line of error text when the
// game would not start on them or FILE is no readable file.
bool ReadOpenmwCfg(const std::string& file, GameConfig& config, std::string& error);

// The archive names of a Morrowind.ini's [Archives] section, in order.
std::vector<std::string> MorrowindIniArchives(std::string_view text);

bool ReadMorrowindIni(const std::string& file, GameConfig& config, std::string& error);
