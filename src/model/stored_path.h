// The path a texture reference stores in the model, as the file holds it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "common/app_state.h"

// The path bytes of `ref` in `image` up to their first zero byte, folders included and not
// cut, read as the display name is read. Empty when the reference's bytes do not lie inside
// the image, which a reference the scan made for this image always does.
std::string_view StoredPath(std::span<const std::uint8_t> image, const TextureRef& ref);
