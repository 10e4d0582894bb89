// What the open-file dialog leaves in its result buffer, for the front ends that answer
// it themselves (the console and the tests' stand-in).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct FileDialogChoice {
  std::string buffer;  // the result buffer's bytes, NULs included
  std::uint16_t fileOffset = 0;
};

// One file: its path and a terminator; the caller's buffer is zeroed, so a second NUL
// follows wherever there is room for it, as the system leaves it.
FileDialogChoice OneFileChoice(std::string_view fullPath);

// Several files of one folder: the folder, then each bare name, then an empty string.
FileDialogChoice SeveralFilesChoice(std::string_view folder, const std::vector<std::string>& names);
