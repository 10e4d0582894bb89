// texmint-cli fix: mends the texture references the game cannot find, where its files show
// beyond doubt which texture was meant.
#pragma once

#include <string>

#include "cli_args.h"

// Looks each reference of `cli.models` up as check does; for each missing one prints
// MODEL<TAB>INDEX<TAB>PATH<TAB>fixed|ambiguous|unfound<TAB>NAMES and gives the models with a
// fixed reference out as `cli.fixMode` says. Returns kExitDone when nothing is left missing
// and everything was read and written, else kExitErrorShown (each failure said on stderr,
// the rest still done). A usage mistake writes nothing: it returns kExitUsage with the
// reason, one line, in `usageError`.
int RunFix(const CliArgs& cli, std::string& usageError);
