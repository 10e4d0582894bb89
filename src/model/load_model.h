// Reads the model named by g_app.modelPath into the image and fills the
// texture-reference table.
#pragma once

#include <cstdint>

#include "common/app_state.h"

inline constexpr const char* kMsgCannotOpen = "Cannot open file";
inline constexpr const char* kMsgNotRecognized = "Cannot recognize file format";
inline constexpr const char* kMsgNoReferences = "No texture references found in the file";
inline constexpr const char* kMsgTooLarge =
    "Cannot load file: models of 4 GiB or more are not supported";
inline constexpr const char* kMsgOutOfMemory = "Cannot load file: not enough memory";
inline constexpr const char* kMsgReadFailed = "Cannot load file: it could not be read whole";
inline constexpr const char* kMsgFirstHundred =
    "The model has more than 100 external texture references; only the first 100 are listed";

// Reads the whole file at `path` into a fresh image (with its slack). nullptr when it did,
// else the message saying why not; the image is then empty.
const char* ReadModelImage(const char* path, ModelImage& image, std::uint32_t& imageSize);

// 1 when the image is loaded and holds at least one reference, 0 otherwise. Every
// failure has been shown to the user before it returns; the caller only clears the
// model selection.
int LoadModel();

// Frees the image and empties the reference table.
void UnloadModel();
