// texmint-cli check: whether the game finds every texture file the models name.
#pragma once

#include <string>
#include <vector>

#include "game_files.h"

// Checks each of `models` (a model file, or a folder whose .nif files below it are checked)
// against the game's files that `sources` name. Prints
// MODEL<TAB>INDEX<TAB>PATH<TAB>found|missing<TAB>LOOKUP for every external texture reference
// and returns kExitDone when all are found, else kExitErrorShown, also when a model, folder
// or archive could not be read (each said on stderr, the rest still checked). A usage
// mistake prints nothing: it returns kExitUsage with the reason, one line, in `usageError`.
int RunCheck(const GameSources& sources, const std::vector<std::string>& models,
             std::string& usageError);
