// The path a replaced reference gets in a copy.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest texture path a copy may name: a Windows path (MAX_PATH) less its terminator,
// the most a program that opens the texture by that path can take.
inline constexpr std::size_t kMaxTexturePath = 259;

// The new path of a reference that stored `storedPath`, for the texture file `name`: the bare
// name, or, keeping the folder, the old path up to and including its last backslash followed
// by the name. Only backslashes separate folders in a model, as for the display name.
std::string NewTexturePath(std::string_view storedPath, std::string_view name, bool keepFolder);
