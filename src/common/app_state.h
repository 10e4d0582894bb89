// The one process-wide state record. Each group of fields is written by one part of the
// program (see the comments); the two resets in the front end empty their halves, the
// model's through UnloadModel.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

constexpr std::size_t kModelPathCapacity = 260;  // 259 characters and the terminator
constexpr std::size_t kImageSlack = 1024;
constexpr std::size_t kMaxTextureRefs = 100;
constexpr std::size_t kDisplayNameCapacity = 200;  // 199 characters and the terminator
constexpr std::size_t kMaxReplacements = 5000;
constexpr std::size_t kReplacementNameCapacity = 100;  // 99 characters and the terminator
constexpr std::size_t kTextureDialogBufferSize = 30000;

// Opaque window handle: the front end knows what it really is.
using WindowHandle = void*;

struct TextureRef {
  char displayName[kDisplayNameCapacity];
  std::uint32_t lengthOffset;  // offset of the path's 4-byte length
  std::uint32_t tailOffset;    // offset of the first byte after the path
};

struct ReplacementName {
  char name[kReplacementNameCapacity];
};

// The model file's bytes followed by kImageSlack bytes that are never written.
using ModelImage = std::unique_ptr<std::uint8_t[]>;

struct AppState {
  WindowHandle hwndMain;               // front end
  char modelPath[kModelPathCapacity];  // front end

  ModelImage modelImage;  // model loading
  std::uint32_t modelSize;
  std::array<TextureRef, kMaxTextureRefs> refs;
  std::uint32_t refCount;

  std::uint32_t selectedRef;  // writer

  // Replacement list: the folder needs room for anything the texture dialog returns.
  char replacementFolder[kTextureDialogBufferSize];
  std::array<ReplacementName, kMaxReplacements> replacements;
  std::uint32_t replacementCount;
};

extern AppState g_app;

// Resets every field to the zeroed start state (tests start each case from it).
void ResetAppState();
