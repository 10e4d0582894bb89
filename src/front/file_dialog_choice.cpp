#include "front/file_dialog_choice.h"

#include "common/file_name.h"

FileDialogChoice OneFileChoice(std::string_view fullPath) {
  std::string buffer(fullPath);
  buffer.push_back('\0');
  return {std::move(buffer), static_cast<std::uint16_t>(FileNameStart(fullPath))};
}

FileDialogChoice SeveralFilesChoice(std::string_view folder,
                                    const std::vector<std::string>& names) {
  std::string buffer(folder);
  buffer.push_back('\0');
  for (const std::string& name : names) buffer.append(name).push_back('\0');
  buffer.push_back('\0');
  return {std::move(buffer), static_cast<std::uint16_t>(folder.size() + 1)};
}
