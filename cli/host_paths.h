// The few questions the command line asks the host about paths and streams. Only the C
// runtime is used, with 8-bit paths in the system's code page, as the core opens them.
#pragma once

#include <string>
#include <string_view>

#include "common/file_name.h"

// The full form of `path`, as the open-file dialog returns a choice; empty when it can't
// be formed.
std::string FullPath(const std::string& path);

enum class PathKind { kMissing, kFile, kFolder, kOther };
PathKind KindOf(const std::string& path);

// A folder path without a closing separator; a root keeps its own (/, or C:\ on Windows).
std::string WithoutClosingSeparator(std::string fullPath);

// `name` in `folder`, as the system finds it: a folder that ends in a separator, or a bare
// drive (C:, whose current folder is meant), takes the name as it is.
std::string JoinPath(std::string_view folder, std::string_view name);

// Why the folder an option names cannot be used ("--out folder not found: DIR"); empty when
// it is a folder.
std::string FolderMistake(std::string_view option, const std::string& dir);

bool StderrIsTerminal();
