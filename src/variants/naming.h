// Names of the model copies: the base path and the two output-path formats.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "common/app_state.h"

// The model path without its extension, the file name cut to 24 characters.
std::string MakeBasePath(std::string_view modelPath);

// Position from which the replacement names differ, when every name's suffix from there
// to its last "." is at most 2 characters and no two suffixes are equal ignoring case;
// 0 when texture-derived suffixes cannot be offered.
unsigned FindSuffixStart(std::span<const ReplacementName> names);
unsigned FindSuffixStart();  // over the replacement list in g_app

// The characters of `name` from `k` up to its last ".".
std::string_view SuffixOf(std::string_view name, unsigned k);

std::string NumberedOutputPath(std::string_view basePath, unsigned number);
std::string SuffixOutputPath(std::string_view basePath, std::string_view suffix);
