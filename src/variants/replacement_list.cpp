#include "variants/replacement_list.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "common/text.h"
#include "front/main_dialog.h"
#include "front/ui.h"

namespace {

constexpr char kTextureFilter[] = "DDS Files (*.dds)\0*.dds\0All Files (*.*)\0*.*\0";

}  // namespace

SelectionParse ParseSelection(std::span<char> buffer, std::uint16_t fileOffset,
                              std::span<ReplacementName> names) {
  SelectionParse parse{SelectionStatus::kEmpty, 0, nullptr};
  if (buffer.empty() || fileOffset == 0 || fileOffset >= buffer.size()) return parse;
  buffer[fileOffset - 1] = '\0';
  // Keep a terminator at the very end, so a result that fills the buffer cannot run on.
  buffer.back() = '\0';

  for (std::size_t at = fileOffset; at < buffer.size();) {
    const std::string_view name = TextIn(buffer.subspan(at));
    if (name.empty()) break;
    if (name.size() >= kReplacementNameCapacity) {
      return {SelectionStatus::kNameTooLong, 0, buffer.data() + at};
    }
    if (parse.count == names.size()) return {SelectionStatus::kTooMany, 0, nullptr};
    CopyText(names[parse.count++].name, name);
    at += name.size() + 1;
  }
  parse.status = parse.count > 0 ? SelectionStatus::kOk : SelectionStatus::kEmpty;
  return parse;
}

void ChooseReplacements() {
  // Heap, not stack: the result buffer is large and the dialog's own frames are deep.
  const auto buffer = std::make_unique<char[]>(kTextureDialogBufferSize);
  const OpenFileResult result =
      UiOpenFileDialog({kTextureFilter, kTextureDialogFlags, buffer.get(), kTextureDialogBufferSize,
                        g_app.replacementFolder});
  if (!result.chosen) {
    ClearReplacements();
    return;
  }
  const std::span<char> chosen(buffer.get(), kTextureDialogBufferSize);
  // The first string is the folder, or the whole path of a single file: keep it before
  // the parse cuts the path at the file name.
  chosen.back() = '\0';
  const std::string folder(TextIn(chosen));

  const SelectionParse parse = ParseSelection(chosen, result.fileOffset, g_app.replacements);
  if (parse.status == SelectionStatus::kNameTooLong || parse.status == SelectionStatus::kTooMany) {
    char message[1000];
    if (parse.status == SelectionStatus::kNameTooLong) {
      std::snprintf(message, sizeof message, kMsgNameTooLong, parse.offendingName);
    } else {
      CopyText(message, kMsgTooManyNames);
    }
    ShowError(message);
    ClearReplacements();
    return;
  }
  if (parse.status == SelectionStatus::kEmpty) {
    ClearReplacements();
    return;
  }

  UiSetBoxText(kFolderBox, folder.c_str());
  CopyText(g_app.replacementFolder, folder);
  g_app.replacementCount = parse.count;

  std::sort(g_app.replacements.begin(), g_app.replacements.begin() + parse.count,
            [](const ReplacementName& a, const ReplacementName& b) {
              return CompareNoCase(TextIn(a.name), TextIn(b.name)) < 0;
            });
  UiResetList(kReplacementList);
  for (std::uint32_t i = 0; i < g_app.replacementCount; ++i) {
    UiAddListRow(kReplacementList, g_app.replacements[i].name);
  }

  if (g_app.refCount > 0) {
    UiEnableCreateNifs(true);
    UiSetFocus(UiListSelection(kTextureList) < 0 ? kTextureList : kCreateNifsButton);
  } else {
    UiSetFocus(kSelectNifButton);
  }
}
