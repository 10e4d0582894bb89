// How the game finds a texture file a model names, and how it names a texture file on disk.
// The game (Morrowind, and OpenMW after it) looks every file up by a name without letter
// case, below its data folders and in its archives alike.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game_files.h"

// The folder the game keeps its textures in, as game names begin with it.
inline constexpr std::string_view kTexturesPrefix = "textures\\";

// The game's name of a file: `/` made `\` and A-Z made a-z (no other letters).
std::string GameName(std::string path);

// How the game turns a stored texture path into the names it looks for.
struct GameLookup {
  std::string n;  // the game name of the path, below textures\ (or bookart\)
  std::string e;  // n with its file name's extension made .dds
  bool extensionChanged = false;
};
GameLookup LookUpTexture(std::string_view storedPath);

// The names the game tries, in order; the first that exists is the file it shows, and the
// first of all (e) is the one it reports missing.
std::vector<std::string> GameLookupNames(const GameLookup& lookup);

// The first of `names` the game has: the file it shows; end() when the texture is missing.
std::vector<std::string>::const_iterator FirstFound(const std::vector<std::string>& names,
                                                    const GameFiles& files);

// The file name part of a game name.
std::string_view GameFileName(std::string_view gameName);

// What a model stores to name the texture file at `filePath` (a path on disk) as the game
// finds it: the file's path from the nearest folder above it named `textures` (any letter
// case), its bare name when it lies right in that folder. Nothing without such a folder.
std::optional<std::string> GameTexturePath(std::string_view filePath);
