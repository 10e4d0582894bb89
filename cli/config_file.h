// Reading a configuration file the user names on the command line, and where its relative
// paths start.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The whole of `file`, named by `option` in the error text when it is missing, no file or
// cannot be read.
bool ReadConfigFile(const char* option, const std::string& file, std::string& text,
                    std::string& error);

// All of `file`'s bytes; false when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& file, std::string& text);

// The folder holding `file`, "." for a bare name, so that joining a relative path to it
// keeps it relative to the working folder.
std::filesystem::path FolderOf(const std::filesystem::path& file);

// `text` without the blanks (space, tab, CR, LF) at its ends, as both games trim a value.
std::string_view TrimBlanks(std::string_view text);
