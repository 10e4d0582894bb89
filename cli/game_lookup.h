// How the game finds a texture file a model names, and how it names a texture file on disk.
// The game (Morrowind, and OpenMW after it) looks every file up by a name without letter
// case, below its data folders and in its archives alike.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The game's name of a file: `/` made `\` and A-Z made a-z (no other letters).
std::string GameName(std::string_view path);

// The names the game tries, in order, for a texture reference storing `storedPath`; the
// first that exists is the file it shows. Each is a game name below the data folders.
std::vector<std::string> GameLookupNames(std::string_view storedPath);

// What a model stores to name the texture file at `filePath` (a path on disk) as the game
// finds it: the file's path from the nearest folder above it named `textures` (any letter
// case), its bare name when it lies right in that folder. Nothing without such a folder.
std::optional<std::string> GameTexturePath(std::string_view filePath);
