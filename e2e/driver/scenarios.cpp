#include "scenarios.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "check.h"
#include "model_files.h"
#include "remote_window.h"
#include "screen.h"

namespace {

constexpr char kErrorCaption[] = "Texmint Error";
constexpr char kAppCaption[] = "Texmint";
constexpr char kCannotOpen[] = "Cannot open file";
constexpr char kNotRecognized[] = "Cannot recognize file format";
constexpr char kNoReferences[] = "No texture references found in the file";
constexpr char kSelectTexture[] = "Please, select texture that should be replaced";
constexpr char kSuffixQuestion[] = "Do you want to use texture-based suffix instead of numbers?";

// The real model used throughout: two external references to the same texture.
constexpr char kMossyRock[] = "morrowind_mossyrock.nif";
constexpr char kMossyTexture[] = "tx_merp_mirkwood_stone01.dds";
constexpr RefSpan kMossyRefs[] = {{431, 463}, {45211, 45243}};

std::string Generated(unsigned count, const std::string& basePath) {
  std::string text = "Generated ";
  text.append(std::to_string(count)).append(" file(s) with names:\n");
  return text.append(basePath).append("_*.nif");
}

std::string CopyFixture(const ScenarioContext& context, const char* fixture,
                        const std::string& folder, std::string_view name) {
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string to = JoinPath(folder, name);
  WriteBytes(to, ReadBytes(JoinPath(context.fixtures, fixture)));
  return to;
}

std::string MossyRockModel(const ScenarioContext& context) {
  return CopyFixture(context, kMossyRock, JoinPath(context.work, "models"), kMossyRock);
}

// Texture files for the dialog to find; their content plays no part.
std::vector<std::string> MakeTextures(const std::string& folder,
                                      const std::vector<std::string>& names) {
  CreateDirectoryA(folder.c_str(), nullptr);
  std::vector<std::string> paths;
  for (const std::string& name : names) {
    paths.push_back(JoinPath(folder, name));
    WriteBytes(paths.back(), std::string_view("DDS |texture|"));
  }
  return paths;
}

// A small model with three external references in an order no sorting would keep, and a
// texture held inside the file between them.
BuiltModel RocksModel() {
  BuiltModel model = NewModel();
  AddBytes(model, std::string_view("\x0c\x00\x00\x00NiTriShapeXX", 16));
  AddTextureRecord(model, "textures\\rock.dds");
  AddTextureRecord(model, "", 0);
  AddTextureRecord(model, "textures\\b\\tx_b.dds");
  AddTextureRecord(model, "textures\\rock.dds");
  AddBytes(model, std::string_view("\x03\x00\x00\x00End\x00\x00\x00\x00", 11));
  return model;
}
const std::vector<std::string> kRocksRows = {"rock.dds", "tx_b.dds", "rock.dds"};

std::string WriteModel(const std::string& folder, std::string_view name, const Bytes& bytes) {
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = JoinPath(folder, name);
  WriteBytes(path, bytes);
  return path;
}

void Screenshot(const ScenarioContext& context, Texmint& app, const char* name) {
  if (context.shots.empty()) return;
  Settle(app);
  RECT area{};
  GetWindowRect(app.dialog, &area);
  for (HWND window : OwnedDialogs(app.dialog)) {
    RECT box{};
    GetWindowRect(window, &box);
    UnionRect(&area, &area, &box);
  }
  InflateRect(&area, 8, 8);
  // Let the last change reach the screen before taking the picture.
  Sleep(300);
  const std::string path = JoinPath(context.shots, std::string(name) + ".bmp");
  if (!SaveBmp(CaptureScreen(area), path)) Fail("cannot save the screenshot " + path);
}

void ExpectEmptyModel(Texmint& app) {
  ExpectText("path box", PathBoxText(app), "");
  ExpectRows("texture list", TextureRows(app), {});
  ExpectTrue("Create NIFs must be disabled without a model", !CreateNifsEnabled(app));
}

void ExpectFocus(Texmint& app, int expected) {
  const int focus = FocusedControl(app);
  if (focus != expected) {
    Fail("the focus is on " + ControlName(focus) + ", expected " + ControlName(expected));
  }
}

void ExpectFolderHolds(const std::string& folder, std::vector<std::string> expected) {
  std::sort(expected.begin(), expected.end());
  ExpectRows("files in " + folder, FileNamesIn(folder), expected);
}

// --- scenarios ---

void Smoke(const ScenarioContext&, Texmint& app) {
  Step step("the dialog has its seven controls");
  const struct {
    int id;
    const char* className;
  } controls[] = {
      {kPathBox, "Edit"},          {kSelectNif, "Button"},
      {kTextureList, "ListBox"},   {kReplacementList, "ListBox"},
      {kSelectTextures, "Button"}, {kCreateNifs, "Button"},
      {kFolderBox, "Edit"},
  };
  for (const auto& c : controls) {
    const std::string seen = ClassOf(Control(app, c.id));
    if (!IsClass(Control(app, c.id), c.className)) {
      Fail(ControlName(c.id) + " is of class " + seen + ", expected " + c.className);
    }
  }
}

void StartState(const ScenarioContext& context, Texmint& app) {
  Step step("look at the dialog just after it opened");
  ExpectText("caption", TextOf(app.dialog), "Texmint");
  ExpectText("Select NIF button", TextOf(Control(app, kSelectNif)), "Select NIF");
  ExpectText("Select Textures button", TextOf(Control(app, kSelectTextures)), "Select Textures");
  ExpectText("Create NIFs button", TextOf(Control(app, kCreateNifs)), "Create NIFs");
  ExpectEmptyModel(app);
  ExpectText("folder box", FolderBoxText(app), "");
  ExpectRows("replacement list", ReplacementRows(app), {});
  ExpectFocus(app, kSelectNif);
  ExpectNoModal(app);
  Screenshot(context, app, "start");
}

void LoadRealModel(const ScenarioContext& context, Texmint& app) {
  const std::string model = MossyRockModel(context);
  Step step("select " + model);
  SelectNif(app, model);
  ExpectNoModal(app);
  ExpectText("path box", PathBoxText(app), model);
  ExpectRows("texture list", TextureRows(app), {kMossyTexture, kMossyTexture});
  ExpectTrue("no row of the texture list may be selected after a load",
             TextureSelection(app) == -1);
  ExpectFocus(app, kTextureList);
  ExpectTrue("Create NIFs must stay disabled without replacements", !CreateNifsEnabled(app));
}

void LoadFailures(const ScenarioContext& context, Texmint& app) {
  const std::string folder = JoinPath(context.work, "models");
  const std::string good = MossyRockModel(context);
  const auto textures = MakeTextures(JoinPath(context.work, "tex"), {"moss.dds"});
  {
    Step step("choose a replacement texture");
    SelectTextures(app, textures);
  }

  BuiltModel wrongCase = NewModel("netimmerse file format, Version 4.0.0.2\n");
  AddTextureRecord(wrongCase, "tx_a.dds");
  BuiltModel internalOnly = NewModel();
  AddTextureRecord(internalOnly, "", 0);
  BuiltModel locked = NewModel();
  AddTextureRecord(locked, "tx_a.dds");

  struct Case {
    const char* what;
    std::string path;
    const char* message;
    bool lockIt;
  };
  const Case cases[] = {
      {"a Gamebryo file", CopyFixture(context, "test_fix_texturepath.nif", folder, "gamebryo.nif"),
       kNotRecognized, false},
      {"a header differing only in letter case",
       WriteModel(folder, "lowercase.nif", wrongCase.bytes), kNotRecognized, false},
      {"a 10-byte file", WriteModel(folder, "short.nif", Bytes(10, 'N')), kNotRecognized, false},
      {"an empty file", WriteModel(folder, "empty.nif", Bytes{}), kNotRecognized, false},
      {"a model without texture records",
       CopyFixture(context, "test_opt_dupgeomdata.nif", folder, "plain.nif"), kNoReferences, false},
      {"a version 10 model without external textures",
       CopyFixture(context, "test_fix_clampmaterialalpha.nif", folder, "v10.nif"), kNoReferences,
       false},
      {"a model whose only texture is held inside it",
       WriteModel(folder, "internal.nif", internalOnly.bytes), kNoReferences, false},
      {"a model another program holds open", WriteModel(folder, "locked.nif", locked.bytes),
       kCannotOpen, true},
  };
  for (const Case& c : cases) {
    Step step(std::string("load ") + c.what + " after a good model");
    SelectNif(app, good);
    ExpectNoModal(app);
    ExpectTrue("Create NIFs must be enabled with a model and a texture", CreateNifsEnabled(app));

    HANDLE lock = INVALID_HANDLE_VALUE;
    if (c.lockIt) {
      // Shared with nobody: the program's attempt to read it must fail.
      lock = CreateFileA(c.path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
      if (lock == INVALID_HANDLE_VALUE) Fail("cannot lock " + c.path);
    }
    SelectNif(app, c.path);
    ExpectMessageBox(app, "error", kErrorCaption, c.message);
    if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);
    ExpectNoModal(app);
    ExpectEmptyModel(app);
    ExpectRows("replacement list (untouched by a failed load)", ReplacementRows(app), {"moss.dds"});
  }
}

void CancelModel(const ScenarioContext& context, Texmint& app) {
  const std::string model = MossyRockModel(context);
  const auto textures = MakeTextures(JoinPath(context.work, "tex"), {"moss.dds"});
  {
    Step step("choose a model and a texture");
    SelectNif(app, model);
    SelectTextures(app, textures);
    ExpectTrue("Create NIFs must be enabled", CreateNifsEnabled(app));
  }
  Step step("press Select NIF and cancel");
  CancelSelectNif(app);
  ExpectNoModal(app);
  ExpectEmptyModel(app);
  ExpectRows("replacement list (kept)", ReplacementRows(app), {"moss.dds"});
  ExpectText("folder box (kept)", FolderBoxText(app), textures.front());
}

void SecondModel(const ScenarioContext& context, Texmint& app) {
  const std::string first = MossyRockModel(context);
  const std::string second =
      WriteModel(JoinPath(context.work, "models"), "rocks.nif", RocksModel().bytes);
  const auto textures = MakeTextures(JoinPath(context.work, "tex"), {"moss_a.dds", "moss_b.dds"});
  {
    Step step("choose a model and two textures");
    SelectNif(app, first);
    SelectTextures(app, textures);
  }
  Step step("choose a second model");
  SelectNif(app, second);
  ExpectNoModal(app);
  ExpectText("path box", PathBoxText(app), second);
  ExpectRows("texture list (the second model's references in file order)", TextureRows(app),
             kRocksRows);
  ExpectTrue("no row may be selected", TextureSelection(app) == -1);
  ExpectRows("replacement list (kept)", ReplacementRows(app), {"moss_a.dds", "moss_b.dds"});
  ExpectText("folder box (kept)", FolderBoxText(app), JoinPath(context.work, "tex"));
  ExpectTrue("Create NIFs must be enabled", CreateNifsEnabled(app));
  ExpectFocus(app, kTextureList);
}

void OneAndSeveralTextures(const ScenarioContext& context, Texmint& app) {
  const auto single = MakeTextures(JoinPath(context.work, "single"), {"moss.dds"});
  const std::string setFolder = JoinPath(context.work, "set");
  const auto several = MakeTextures(setFolder, {"b.dds", "A.dds", "c.dds"});
  const std::string model = MossyRockModel(context);
  {
    Step step("choose one texture without a model");
    SelectTextures(app, single);
    ExpectNoModal(app);
    ExpectRows("replacement list", ReplacementRows(app), {"moss.dds"});
    ExpectText("folder box (the whole path of a single file)", FolderBoxText(app), single.front());
    ExpectTrue("Create NIFs must stay disabled without a model", !CreateNifsEnabled(app));
    ExpectFocus(app, kSelectNif);
  }
  {
    Step step("choose b.dds, A.dds and c.dds together");
    SelectTextures(app, several);
    ExpectNoModal(app);
    ExpectRows("replacement list (sorted without regard to case)", ReplacementRows(app),
               {"A.dds", "b.dds", "c.dds"});
    ExpectText("folder box (the folder of several files)", FolderBoxText(app), setFolder);
  }
  {
    Step step("choose a model from another folder");
    SelectNif(app, model);
    ExpectNoModal(app);
    ExpectTrue("Create NIFs must be enabled", CreateNifsEnabled(app));
  }
  Step step("the next texture dialog opens in " + setFolder + ": choose c.dds by its bare name");
  Press(app, kSelectTextures);
  TypeInFileDialog(app, WaitForFileDialog(app), "c.dds");
  ExpectNoModal(app);
  ExpectRows("replacement list", ReplacementRows(app), {"c.dds"});
  ExpectText("folder box", FolderBoxText(app), JoinPath(setFolder, "c.dds"));
}

void CancelTextures(const ScenarioContext& context, Texmint& app) {
  const std::string model = MossyRockModel(context);
  const auto textures = MakeTextures(JoinPath(context.work, "tex"), {"a.dds", "b.dds"});
  {
    Step step("choose a model and two textures");
    SelectNif(app, model);
    SelectTextures(app, textures);
    ExpectTrue("Create NIFs must be enabled", CreateNifsEnabled(app));
  }
  Step step("press Select Textures and cancel");
  CancelSelectTextures(app);
  ExpectNoModal(app);
  ExpectRows("replacement list", ReplacementRows(app), {});
  ExpectText("folder box", FolderBoxText(app), "");
  ExpectTrue("Create NIFs must be disabled without replacements", !CreateNifsEnabled(app));
  ExpectText("path box (kept)", PathBoxText(app), model);
  ExpectRows("texture list (kept)", TextureRows(app), {kMossyTexture, kMossyTexture});
}

void FocusRules(const ScenarioContext& context, Texmint& app) {
  const std::string model = MossyRockModel(context);
  const auto textures = MakeTextures(JoinPath(context.work, "tex"), {"a.dds", "b.dds"});
  {
    Step step("textures without a model: focus on Select NIF");
    SelectTextures(app, textures);
    ExpectFocus(app, kSelectNif);
  }
  {
    Step step("a model while textures are listed: focus on the texture list");
    SelectNif(app, model);
    ExpectFocus(app, kTextureList);
    ExpectTrue("Create NIFs must be enabled", CreateNifsEnabled(app));
  }
  {
    Step step("textures again with a row chosen: focus on Create NIFs");
    ClickTextureRow(app, 1);
    SelectTextures(app, textures);
    ExpectFocus(app, kCreateNifs);
    ExpectTrue("the chosen row must stay chosen", TextureSelection(app) == 1);
  }
  {
    Step step("textures again after a new load (no row chosen): focus on the texture list");
    SelectNif(app, model);
    ExpectTrue("a new load leaves no row chosen", TextureSelection(app) == -1);
    SelectTextures(app, textures);
    ExpectFocus(app, kTextureList);
  }
}

void CreateWithoutSelection(const ScenarioContext& context, Texmint& app) {
  const std::string model = MossyRockModel(context);
  const auto textures = MakeTextures(JoinPath(context.work, "tex"), {"a.dds", "b.dds"});
  SelectNif(app, model);
  SelectTextures(app, textures);
  Step step("press Create NIFs with no texture row chosen");
  Press(app, kCreateNifs);
  ExpectMessageBox(app, "error", kErrorCaption, kSelectTexture);
  ExpectNoModal(app);
  ExpectFolderHolds(JoinPath(context.work, "models"), {kMossyRock});
  ExpectTrue("Create NIFs must stay enabled", CreateNifsEnabled(app));
  ExpectRows("replacement list (kept)", ReplacementRows(app), {"a.dds", "b.dds"});
}

void NumberedCopies(const ScenarioContext& context, Texmint& app) {
  const std::string models = JoinPath(context.work, "models");
  const std::string model = MossyRockModel(context);
  const Bytes image = ReadBytes(model);
  const std::string base = JoinPath(models, "morrowind_mossyrock");
  const auto textures =
      MakeTextures(JoinPath(context.work, "tex"), {"zeta.dds", "Alpha.dds", "mid.dds"});
  SelectNif(app, model);
  SelectTextures(app, textures);
  ExpectRows("replacement list", ReplacementRows(app), {"Alpha.dds", "mid.dds", "zeta.dds"});
  ClickTextureRow(app, 1);

  const auto expectCopies = [&] {
    ExpectFileBytes("copy 01", base + "_01.nif", ExpectedCopy(image, kMossyRefs[1], "Alpha.dds"));
    ExpectFileBytes("copy 02", base + "_02.nif", ExpectedCopy(image, kMossyRefs[1], "mid.dds"));
    ExpectFileBytes("copy 03", base + "_03.nif", ExpectedCopy(image, kMossyRefs[1], "zeta.dds"));
    ExpectFolderHolds(models, {kMossyRock, "morrowind_mossyrock_01.nif",
                               "morrowind_mossyrock_02.nif", "morrowind_mossyrock_03.nif"});
    ExpectFileBytes("the model itself", model, image);
  };
  {
    Step step("press Create NIFs with the second reference chosen");
    Press(app, kCreateNifs);
    ExpectMessageBox(app, "information", kAppCaption, Generated(3, base));
    ExpectNoModal(app);
    expectCopies();
  }
  {
    Step step("press Create NIFs again: the same names are written again");
    ExpectTrue("the chosen row must stay chosen", TextureSelection(app) == 1);
    ExpectTrue("Create NIFs must stay enabled", CreateNifsEnabled(app));
    WriteBytes(base + "_02.nif", std::string_view("an older copy"));
    Press(app, kCreateNifs);
    ExpectMessageBox(app, "information", kAppCaption, Generated(3, base));
    ExpectNoModal(app);
    expectCopies();
  }
}

enum class Answer { kYes, kNo, kEsc };

// Texture-derived suffixes, accepted, declined, or the question closed with Esc (which
// Wine allows even without a Cancel button, and which counts as No).
void Suffixes(const ScenarioContext& context, Texmint& app, Answer answer) {
  const bool accept = answer == Answer::kYes;
  const std::string models = JoinPath(context.work, "models");
  const BuiltModel rocks = RocksModel();
  const std::string model = WriteModel(models, "rocks.nif", rocks.bytes);
  const std::string base = JoinPath(models, "rocks");
  const auto textures = MakeTextures(JoinPath(context.work, "tex"), {"wall_b.dds", "wall_a.dds"});
  SelectNif(app, model);
  SelectTextures(app, textures);
  // The second record naming rock.dds: only that one may change.
  ClickTextureRow(app, 2);

  Step step(answer == Answer::kYes  ? "press Create NIFs and answer Yes"
            : answer == Answer::kNo ? "press Create NIFs and answer No"
                                    : "press Create NIFs and close the question with Esc");
  Press(app, kCreateNifs);
  const SeenMessageBox question = WaitForMessageBox(app);
  ExpectText("message box text", question.text, kSuffixQuestion);
  ExpectText("caption of the question", question.caption, kAppCaption);
  ExpectText("kind of the question", question.kind, "question");
  if (answer == Answer::kEsc) {
    DismissMessageBox(app, question);
  } else {
    AnswerMessageBox(app, question, accept ? IDYES : IDNO);
  }
  ExpectMessageBox(app, "information", kAppCaption, Generated(2, base));
  ExpectNoModal(app);

  const std::string first = accept ? "rocks_a.nif" : "rocks_01.nif";
  const std::string second = accept ? "rocks_b.nif" : "rocks_02.nif";
  ExpectFileBytes("copy for wall_a.dds", JoinPath(models, first),
                  ExpectedCopy(rocks.bytes, rocks.refs[2], "wall_a.dds"));
  ExpectFileBytes("copy for wall_b.dds", JoinPath(models, second),
                  ExpectedCopy(rocks.bytes, rocks.refs[2], "wall_b.dds"));
  ExpectFolderHolds(models, {"rocks.nif", first, second});
}

void SuffixYes(const ScenarioContext& context, Texmint& app) {
  Suffixes(context, app, Answer::kYes);
}
void SuffixNo(const ScenarioContext& context, Texmint& app) {
  Suffixes(context, app, Answer::kNo);
}
void SuffixEsc(const ScenarioContext& context, Texmint& app) {
  Suffixes(context, app, Answer::kEsc);
}

void ReadOnlyOutput(const ScenarioContext& context, Texmint& app) {
  const std::string models = JoinPath(context.work, "models");
  const std::string model = MossyRockModel(context);
  const Bytes image = ReadBytes(model);
  const std::string base = JoinPath(models, "morrowind_mossyrock");
  const std::string kept = base + "_02.nif";
  WriteBytes(kept, std::string_view("a copy the user protected"));
  if (!SetFileAttributesA(kept.c_str(), FILE_ATTRIBUTE_READONLY)) Fail("cannot protect " + kept);
  const auto textures =
      MakeTextures(JoinPath(context.work, "tex"), {"alpha.dds", "beta.dds", "gamma.dds"});
  SelectNif(app, model);
  SelectTextures(app, textures);
  ClickTextureRow(app, 0);

  Step step("press Create NIFs with a read-only file named like the second copy");
  Press(app, kCreateNifs);
  ExpectMessageBox(app, "error", kErrorCaption,
                   "Cannot create file " + kept + " for texture beta.dds");
  ExpectMessageBox(app, "information", kAppCaption, Generated(2, base));
  ExpectNoModal(app);
  ExpectFileBytes("copy 01", base + "_01.nif", ExpectedCopy(image, kMossyRefs[0], "alpha.dds"));
  ExpectFileBytes("copy 03", base + "_03.nif", ExpectedCopy(image, kMossyRefs[0], "gamma.dds"));
  const Bytes protectedBytes = ReadBytes(kept);
  ExpectText("the read-only file", std::string(protectedBytes.begin(), protectedBytes.end()),
             "a copy the user protected");
  ExpectFolderHolds(models, {kMossyRock, "morrowind_mossyrock_01.nif", "morrowind_mossyrock_02.nif",
                             "morrowind_mossyrock_03.nif"});
}

void ClosingMessage(const ScenarioContext& context, Texmint& app) {
  const std::string models = JoinPath(context.work, "models");
  BuiltModel longName = NewModel("NetImmerse File Format, Version 4.0.0.2\n");
  AddTextureRecord(longName, "textures\\terrain\\rock.dds");
  // 30 characters before the extension: the copies take the first 24.
  const std::string model =
      WriteModel(models, "abcdefghijklmnopqrstuvwxyzabcd.nif", longName.bytes);
  const std::string base = JoinPath(models, "abcdefghijklmnopqrstuvwx");
  const auto textures = MakeTextures(JoinPath(context.work, "tex"), {"moss.dds"});
  SelectNif(app, model);
  SelectTextures(app, textures);
  ClickTextureRow(app, 0);

  Step step("press Create NIFs with one texture (no question)");
  Press(app, kCreateNifs);
  ExpectMessageBox(app, "information", kAppCaption, Generated(1, base));
  ExpectNoModal(app);
  ExpectFileBytes("the copy", base + "_01.nif",
                  ExpectedCopy(longName.bytes, longName.refs[0], "moss.dds"));
}

void EscIgnored(const ScenarioContext& context, Texmint& app) {
  {
    Step step("press Esc on the fresh dialog");
    PressEsc(app);
    ExpectNoModal(app);
    ExpectFocus(app, kSelectNif);
  }
  const std::string model = MossyRockModel(context);
  const auto textures = MakeTextures(JoinPath(context.work, "tex"), {"a.dds", "b.dds"});
  SelectNif(app, model);
  SelectTextures(app, textures);
  ClickTextureRow(app, 0);
  Step step("press Esc in the texture list with a model and textures chosen");
  PressEsc(app);
  ExpectNoModal(app);
  ExpectText("path box", PathBoxText(app), model);
  ExpectRows("texture list", TextureRows(app), {kMossyTexture, kMossyTexture});
  ExpectTrue("the chosen row must stay chosen", TextureSelection(app) == 0);
  ExpectRows("replacement list", ReplacementRows(app), {"a.dds", "b.dds"});
}

void Screenshots(const ScenarioContext& context, Texmint& app) {
  if (context.shots.empty()) Fail("no folder for the screenshots was given (--shots)");
  Screenshot(context, app, "start");
  const std::string model = MossyRockModel(context);
  const auto textures = MakeTextures(JoinPath(context.work, "textures"),
                                     {"stone_moss.dds", "stone_lichen.dds", "stone_snow.dds"});
  SelectNif(app, model);
  SelectTextures(app, textures);
  ClickTextureRow(app, 0);
  Screenshot(context, app, "chosen");
  Press(app, kCreateNifs);
  const SeenMessageBox done = WaitForMessageBox(app);
  ExpectText("kind of the closing message", done.kind, "information");
  Screenshot(context, app, "done");
  AnswerMessageBox(app, done, IDOK);
}

}  // namespace

const std::vector<Scenario>& AllScenarios() {
  static const std::vector<Scenario> scenarios = {
      {"smoke", Smoke},
      {"start_state", StartState},
      {"load_model", LoadRealModel},
      {"load_failures", LoadFailures},
      {"cancel_model", CancelModel},
      {"second_model", SecondModel},
      {"textures_one_and_several", OneAndSeveralTextures},
      {"cancel_textures", CancelTextures},
      {"focus_rules", FocusRules},
      {"create_without_selection", CreateWithoutSelection},
      {"numbered_copies", NumberedCopies},
      {"suffix_yes", SuffixYes},
      {"suffix_no", SuffixNo},
      {"suffix_esc", SuffixEsc},
      {"readonly_output", ReadOnlyOutput},
      {"closing_message", ClosingMessage},
      {"esc_ignored", EscIgnored},
      {"screenshots", Screenshots},
  };
  return scenarios;
}
