// The names of the copies: the base path, and where texture-derived suffixes start; and a
// texture file's path as the game finds it.
#include <gtest/gtest.h>

#include "common/text.h"
#include "game_lookup.h"
#include "interpreter/scenario.h"
#include "variants/naming.h"

namespace {

TEST(MakeBasePath, DropsTheExtensionAndCutsTheFileNameTo24) {
  const std::pair<const char*, const char*> cases[] = {
      {"/m/abcdefghijklmnopqrstuvwx.nif", "/m/abcdefghijklmnopqrstuvwx"},
      {"/m/abcdefghijklmnopqrstuvwxyz", "/m/abcdefghijklmnopqrstuvwx"},
      // Only the file name can carry the extension.
      {"/my.dir/barrel", "/my.dir/barrel"},
      {"/my.dir/barrel.v2.nif", "/my.dir/barrel.v2"},
      {"/data/.nif", "/data/"},
      {"barrel.nif", "barrel"},
  };
  for (const auto& [model, base] : cases) EXPECT_EQ(MakeBasePath(model), base) << model;
  EXPECT_EQ(NumberedOutputPath("/b", 100), "/b_100.nif");
}

TEST(FindSuffixStart, GivesWhereTheNamesDifferOrNothing) {
  // The names in sorted order, and the suffix of each ("" for none: not offered).
  const std::pair<const char*, const char*> cases[] = {
      {"oak_bark_01.dds oak_bark_02.dds", "1 2"},
      {"Rock01.dds rock02.dds", "1 2"},
      {"tex10.dds tex11.dds tex12.dds", "0 1 2"},
      {"tex10.dds tex9.dds", "10 9"},
      {"Wall_A.dds wall_b.DDS", "A b"},
      {"tZ1.dds tz2.dds", "1 2"},
      // The third name is not looked at where the first two differ: its "." stands there.
      {"t!.dds t#.dds t.dds", "! #"},
      {"tex1.dds tex1a.dds", ""},
      {"grass.dds grass_dry.dds", ""},
      {"blue.dds red.dds", ""},
      {"stone_brown.dds stone_grey.dds", ""},
      {"tex100.dds tex200.dds", ""},
      {"tx.dds", ""},
      {"rock01 rock02.dds", ""},
      // Suffixes equal but for letter case would name one file twice.
      {"tex1.dds tex2.dds tex2.tga", ""},
      {"texa.dds texA.tga texb.dds", ""},
  };
  for (const auto& [list, expected] : cases) {
    std::vector<ReplacementName> names;
    for (const std::string& name : Words(list)) CopyText(names.emplace_back().name, name);
    const unsigned k = FindSuffixStart(names);
    std::string suffixes;
    for (const auto& name : names)
      suffixes += (k > 0 ? std::string(SuffixOf(name.name, k)) : "") + " ";
    EXPECT_EQ(Words(suffixes), Words(expected)) << list;
    EXPECT_EQ(k > 0, *expected != '\0') << list;
  }
}

TEST(GameTexturePath, IsThePathBelowTheNearestTexturesFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"/g/textures/old/TEXTURES//new/a.dds", "textures\\new\\a.dds"},
      {"/g/meshes/textures", ""},
      {"/g/meshes/a.dds", ""},
  };
  for (const auto& [file, path] : cases) EXPECT_EQ(GameTexturePath(file).value_or(""), path);
}

}  // namespace
