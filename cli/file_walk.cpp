#include "file_walk.h"

#include "common/text.h"
#include "model_files.h"

namespace fs = std::filesystem;

bool HasExtension(const fs::path& file, std::string_view extension) {
  const std::string name = file.filename().string();
  return name.size() >= extension.size() &&
         EqualNoCase(std::string_view(name).substr(name.size() - extension.size()), extension);
}

bool WalkFiles(const std::string& root,
               const std::function<void(const fs::path&, bool inRoot)>& take) {
  std::error_code error;
  for (fs::recursive_directory_iterator it(root, error), end; !error && it != end;
       it.increment(error)) {
    std::error_code kindError;  // a file gone meanwhile is just left out
    if (it->is_regular_file(kindError)) take(it->path(), it.depth() == 0);
  }
  if (error) ReportOn(root, "cannot read the folder: " + error.message());
  return !error;
}
