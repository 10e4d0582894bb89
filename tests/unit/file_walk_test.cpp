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
  // The 32-bit lane runs this test at the same time.
  const fs::path root = fs::path(testing::TempDir()) / ("walk" + std::to_string(sizeof(void*)));
  fs::remove_all(root);
  for (const char* dir : {"bad/deeper", "sub/bad", "sub/deep"}) fs::create_directories(root / dir);
  for (const char* file : {"a", "bad/b", "bad/deeper/c", "sub/d", "sub/bad/e", "sub/deep/f"})
    std::ofstream(root / file) << "x";
  fs::create_directory_symlink(root / "sub", root / "link_to_folder");
  fs::create_symlink(root / "a", root / "sub/link_to_file");
  const std::string bad = (root / "bad").string(),
                    refused = ": cannot read the folder: Permission denied\n";
  const std::tuple<std::string, std::set<std::pair<std::string, bool>>, std::string> cases[] = {
      {root.string(),
       {{"a", true}, {"sub/d", false}, {"sub/link_to_file", false}, {"sub/deep/f", false}},
       bad + refused + (root / "sub/bad").string() + refused},
      {bad, {}, bad + refused},
  };
  for (const auto& [from, expected, expectedSaid] : cases) {
    std::set<std::pair<std::string, bool>> files;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(WalkFiles(
        from, [&](std::string below, bool inRoot) { files.emplace(below, inRoot); }, nullptr,
        RefuseBad));
    EXPECT_EQ(files, expected) << from;
    EXPECT_EQ(testing::internal::GetCapturedStderr(), expectedSaid) << from;
  }
}

}  // namespace
