// The replacement texture list: the Select Textures command and its sort order.
#pragma once

#include <cstdint>
#include <span>

#include "common/app_state.h"

inline constexpr const char* kMsgNameTooLong =
    "Cannot use the texture %s: its file name is longer than 99 characters";
inline constexpr const char* kMsgTooManyNames =
    "Too many textures selected: at most 5000 can be used at once";

void ChooseReplacements();

enum class SelectionStatus { kOk, kEmpty, kNameTooLong, kTooMany };

struct SelectionParse {
  SelectionStatus status;
  std::uint32_t count;
  const char* offendingName;  // for kNameTooLong
};

// Takes the names of an open-file dialog result (`buffer`, names from `fileOffset` on)
// into `names`. The byte before `fileOffset` is set to NUL, which ends the folder of a
// single-file choice. Nothing is read past the buffer or written past `names`.
SelectionParse ParseSelection(std::span<char> buffer, std::uint16_t fileOffset,
                              std::span<ReplacementName> names);
