// The two buffers the program takes apart or puts together: the texture dialog's result,
// and the pieces of a copy around a reference, even a damaged one.
#include <gtest/gtest.h>

#include "common/app_state.h"
#include "front/main_dialog.h"
#include "front/ui_standin.h"
#include "variants/replacement_list.h"
#include "variants/variant_writer.h"

namespace {

std::vector<std::string> Names(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) names.push_back(std::to_string(i));
  return names;
}

TEST(ParseSelection, TakesTheNamesAndNothingBeyondTheBuffer) {
  const struct {
    const char* what;
    StandinFileDialogAnswer answer;
    SelectionStatus status;
    std::vector<std::string> names;
  } cases[] = {
      {"one file", ChooseOneFile("/tex/moss.dds"), SelectionStatus::kOk, {"moss.dds"}},
      {"several",
       ChooseSeveralFiles("/tex", {"b.dds", "a.dds"}),
       SelectionStatus::kOk,
       {"b.dds", "a.dds"}},
      {"no terminator",
       {true, std::string(64, 'x'), 10, {}},
       SelectionStatus::kOk,
       {std::string(53, 'x')}},
      {"no name", {true, std::string("/tex\0\0", 6), 5, {}}, SelectionStatus::kEmpty, {}},
      {"offset past the end", {true, "/tex", 9, {}}, SelectionStatus::kEmpty, {}},
      {"99 characters",
       ChooseSeveralFiles("/t", {std::string(99, 'n')}),
       SelectionStatus::kOk,
       {std::string(99, 'n')}},
      {"100 characters",
       ChooseSeveralFiles("/t", {"a", std::string(100, 'n')}),
       SelectionStatus::kNameTooLong,
       {}},
      {"5000 names", ChooseSeveralFiles("/t", Names(5000)), SelectionStatus::kOk, Names(5000)},
      {"5001 names", ChooseSeveralFiles("/t", Names(5001)), SelectionStatus::kTooMany, {}},
  };
  std::vector<ReplacementName> list(kMaxReplacements);
  for (const auto& c : cases) {
    std::string buffer = c.answer.buffer;
    const SelectionParse parse = ParseSelection(buffer, c.answer.fileOffset, list);
    EXPECT_EQ(parse.status, c.status) << c.what;
    ASSERT_EQ(parse.count, c.names.size()) << c.what;
    for (std::size_t i = 0; i < c.names.size(); ++i) EXPECT_EQ(list[i].name, c.names[i]) << c.what;
  }
}

TEST(ParseSelection, TooManyNamesAreRefusedWhole) {
  ResetAppState();
  StandinOpenDialog();
  TheStandin().fileDialogAnswers.push_back(ChooseSeveralFiles("/t", Names(5001)));
  MainDialogProc(g_app.hwndMain, kMsgCommand, kSelectTexturesButton, 0);
  ASSERT_EQ(TheStandin().messageBoxes.size(), 1u);
  EXPECT_EQ(TheStandin().messageBoxes[0].text,
            "Too many textures selected: at most 5000 can be used at once");
  EXPECT_EQ(TheStandin().messageBoxes[0].caption, "Texmint Error");
  EXPECT_EQ(g_app.replacementCount, 0u);
}

TEST(BuildVariantPieces, NeverReachesPastTheImage) {
  const std::string image = "0123456789";
  const struct {
    std::uint32_t lengthOffset, tailOffset;
    const char* before;  // the image's bytes kept before the new length and name
    const char* after;   // and after them
  } cases[] = {
      {2, 6, "01", "6789"},       {2, 10, "01", ""},        {8, 40, "01234567", ""},
      {40, 50, "0123456789", ""}, {6, 2, "012345", "6789"},
  };
  for (const auto& c : cases) {
    VariantPieces v;
    BuildVariantPieces({reinterpret_cast<const std::uint8_t*>(image.data()), image.size()},
                       TextureRef{{}, c.lengthOffset, c.tailOffset}, "X", v);
    std::string joined;
    for (const auto& piece : v.pieces) joined.append(piece.begin(), piece.end());
    EXPECT_EQ(joined, c.before + std::string("\x01\0\0\0X", 5) + c.after)
        << c.lengthOffset << "/" << c.tailOffset;
  }
}

}  // namespace
