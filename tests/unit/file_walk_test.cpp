// A walk that meets a folder it cannot read names it and goes on with everything else. As
// root no folder refuses to be read, so the folders here are refused by the listing.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "file_walk.h"

namespace {

namespace fs = std::filesystem;

void RefuseBad(const fs::path& folder, FolderEntries& entries, std::error_code& error) {
  ListFolderEntries(folder, entries, error);
  if (folder.filename() == "bad") error = std::make_error_code(std::errc::permission_denied);
}

TEST(WalkFiles, NamesEachFolderItCannotReadAndWalksTheRest) {
  const fs::path root = fs::path(testing::TempDir()) / "walk";
  fs::remove_all(root);
  for (const char* dir : {"bad/deeper", "sub/bad", "sub/deep"}) fs::create_directories(root / dir);
  for (const char* file : {"a", "bad/b", "bad/deeper/c", "sub/d", "sub/bad/e", "sub/deep/f"})
    std::ofstream(root / file) << "x";
  fs::create_directory_symlink(root / "sub", root / "link_to_folder");
  fs::create_symlink(root / "a", root / "sub/link_to_file");
  const struct {
    std::string root;
    std::set<std::pair<std::string, bool>> files;
    std::string said;
  } cases[] = {
      {root.string(),
       {{"a", true}, {"sub/d", false}, {"sub/link_to_file", false}, {"sub/deep/f", false}},
       "{walk}/bad: cannot read the folder: Permission denied\n"
       "{walk}/sub/bad: cannot read the folder: Permission denied\n"},
      {(root / "bad").string(), {}, "{walk}/bad: cannot read the folder: Permission denied\n"},
  };
  for (const auto& c : cases) {
    std::set<std::pair<std::string, bool>> files;
    testing::internal::CaptureStderr();
    const bool walked = WalkFiles(
        c.root, [&](std::string below, bool inRoot) { files.emplace(below, inRoot); }, nullptr,
        RefuseBad);
    std::string said = testing::internal::GetCapturedStderr();
    for (std::size_t at; (at = said.find(root.string())) != said.npos;)
      said.replace(at, root.string().size(), "{walk}");
    EXPECT_FALSE(walked);
    EXPECT_EQ(files, c.files) << c.root;
    EXPECT_EQ(said, c.said) << c.root;
  }
}

}  // namespace
