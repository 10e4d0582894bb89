// The buffers the program takes apart or puts together: the texture dialog's result,
// the pieces of a copy around a reference, even a damaged one, and the path it stores.
#include <gtest/gtest.h>

#include <sstream>

#include "bsa_archive.h"
#include "common/app_state.h"
#include "front/file_dialog_choice.h"
#include "front/main_dialog.h"
#include "interpreter/model_bytes.h"
#include "model/stored_path.h"
#include "standin/ui_standin.h"
#include "variants/replacement_list.h"
#include "variants/variant_writer.h"

namespace {

std::string Joined(const VariantPieces& v) {
  std::string joined;
  for (const auto& piece : v.pieces) joined.append(piece.begin(), piece.end());
  return joined;
}

std::vector<std::string> Numbers(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(std::to_string(i));
  return names;
}

TEST(ParseSelection, TakesTheNamesAndNothingBeyondTheBuffer) {
  using enum SelectionStatus;
  const std::tuple<FileDialogChoice, SelectionStatus, std::vector<std::string>> cases[] = {
      {OneFileChoice("/tex/moss.dds"), kOk, {"moss.dds"}},
      {SeveralFilesChoice("/tex", {"b.dds", "a.dds"}), kOk, {"b.dds", "a.dds"}},
      {{std::string(64, 'x'), 10}, kOk, {std::string(53, 'x')}},  // no terminator
      {{std::string("/tex\0\0", 6), 5}, kEmpty, {}},
      {{"/tex", 9}, kEmpty, {}},  // the names' offset past the end
      {SeveralFilesChoice("/t", Numbers(5000)), kOk, Numbers(5000)},
      {SeveralFilesChoice("/t", Numbers(5001)), kTooMany, {}},
  };
  std::vector<ReplacementName> list(kMaxReplacements);
  for (auto [answer, status, names] : cases) {
    const SelectionParse parse = ParseSelection(answer.buffer, answer.fileOffset, list);
    EXPECT_EQ(parse.status, status) << answer.buffer.substr(0, 20);
    ASSERT_EQ(parse.count, names.size()) << answer.buffer.substr(0, 20);
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(list[i].name, names[i]);
  }
  // The dialog tells why it takes none of too many names.
  ResetAppState();
  StandinOpenDialog();
  TheStandin().fileDialog = "choose";
  for (const std::string& name : Numbers(5001)) TheStandin().files.push_back("/t/" + name);
  MainDialogProc(g_app.hwndMain, kWmCommand, kSelectTexturesButton, 0);
  ASSERT_EQ(TheStandin().messageBoxes.size(), 1u);
  EXPECT_EQ(TheStandin().messageBoxes[0].text,
            "Too many textures selected: at most 5000 can be used at once");
  EXPECT_EQ(g_app.replacementCount, 0u);
}

TEST(BuildVariantPieces, NeverReachesPastTheImage) {
  const std::string image = "0123456789";
  // The reference's offsets, and the image's bytes kept before and after the new path.
  const std::tuple<std::uint32_t, std::uint32_t, const char*, const char*> cases[] = {
      {2, 6, "01", "6789"},       {2, 10, "01", ""},        {8, 40, "01234567", ""},
      {40, 50, "0123456789", ""}, {6, 2, "012345", "6789"},
  };
  for (const auto& [lengthOffset, tailOffset, before, after] : cases) {
    VariantPieces v;
    const PathEdit edit{lengthOffset, tailOffset, "X"};
    BuildVariantPieces({reinterpret_cast<const std::uint8_t*>(image.data()), image.size()},
                       {&edit, 1}, v);
    EXPECT_EQ(Joined(v), before + std::string("\x01\0\0\0X", 5) + after) << lengthOffset;
  }
  // Two edits that overlap, as damaged references might: the second starts where the first
  // ended, so no byte is written twice.
  const PathEdit edits[] = {{2, 5, "A"}, {3, 8, "B"}};
  VariantPieces v;
  BuildVariantPieces({reinterpret_cast<const std::uint8_t*>(image.data()), image.size()}, edits, v);
  EXPECT_EQ(Joined(v), std::string("01\x01\0\0\0A\x01\0\0\0B89", 14));
}

TEST(StoredPath, IsEmptyForAReferenceOutsideTheImage) {
  const std::string image = "0123456789";
  const std::span bytes(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
  const std::tuple<std::uint32_t, std::uint32_t, const char*> cases[] = {
      {2, 9, "678"}, {2, 11, ""}, {6, 2, ""}, {0xFFFFFFFE, 9, ""}};
  for (const auto& [lengthOffset, tailOffset, path] : cases)
    EXPECT_EQ(StoredPath(bytes, {{}, lengthOffset, tailOffset}), path) << lengthOffset;
}

// A 32-bit process cannot hold 2 GiB of archive tables: such an archive is refused, not read.
// (A 64-bit one would try to hold them, which a test has no business doing.)
TEST(ReadArchiveStreamNames, RefusesTablesA32BitProcessCannotHold) {
  if constexpr (sizeof(std::size_t) == 4) {
    std::string bytes = ArchiveBytes(std::vector<std::string>{"a.dds"});
    bytes.replace(4, 4, U32(0x80000000));  // the hash table's offset
    std::istringstream in(bytes);
    std::vector<std::string> read;
    std::string error;
    EXPECT_FALSE(ReadArchiveStreamNames(in, 0x90000000, read, error));
    EXPECT_EQ(error, "it could not be read");
  }
}

}  // namespace
