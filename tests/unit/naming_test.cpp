// The names of the copies: the base path, and where texture-derived suffixes start.
#include <gtest/gtest.h>

#include "common/text.h"
#include "variants/naming.h"

namespace {

TEST(MakeBasePath, DropsTheExtensionAndCutsTheFileNameTo24) {
  const std::pair<const char*, const char*> cases[] = {
      {"/data/meshes/barrel.nif", "/data/meshes/barrel"},
      {"/m/abcdefghijklmnopqrstuvwxyzabcd.nif", "/m/abcdefghijklmnopqrstuvwx"},
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

struct SuffixCase {
  std::vector<std::string> names;  // in sorted order
  unsigned k;
  std::vector<std::string> suffixes;
};

TEST(FindSuffixStart, GivesWhereTheNamesDifferOrNothing) {
  const SuffixCase cases[] = {
      {{"rock01.dds", "rock02.dds", "rock10.dds"}, 4, {"01", "02", "10"}},
      {{"wall_a.dds", "wall_b.dds"}, 5, {"a", "b"}},
      {{"oak_bark_01.dds", "oak_bark_02.dds"}, 10, {"1", "2"}},
      {{"Rock01.dds", "rock02.dds"}, 5, {"1", "2"}},
      {{"tex10.dds", "tex11.dds", "tex12.dds"}, 4, {"0", "1", "2"}},
      {{"tex10.dds", "tex9.dds"}, 3, {"10", "9"}},
      {{"Wall_A.dds", "wall_b.DDS"}, 5, {"A", "b"}},
      // The third name is not looked at where the first two differ: its "." stands there.
      {{"t!.dds", "t#.dds", "t.dds"}, 1, {"!", "#", ""}},
      {{"tex1.dds", "tex1a.dds"}, 0, {}},
      {{"grass.dds", "grass_dry.dds"}, 0, {}},
      {{"blue.dds", "red.dds"}, 0, {}},
      {{"stone_brown.dds", "stone_grey.dds"}, 0, {}},
      {{"tx.dds"}, 0, {}},
      {{"rock01", "rock02.dds"}, 0, {}},
      {{std::string(99, 'a'), std::string(99, 'a')}, 0, {}},
      // Suffixes equal but for letter case would name one file twice.
      {{"tex1.dds", "tex2.dds", "tex2.tga"}, 0, {}},
      {{"texa.dds", "texA.tga", "texb.dds"}, 0, {}},
  };
  for (const SuffixCase& c : cases) {
    std::vector<ReplacementName> names(c.names.size());
    for (std::size_t i = 0; i < names.size(); ++i) CopyText(names[i].name, c.names[i]);
    const unsigned k = FindSuffixStart(names);
    EXPECT_EQ(k, c.k) << c.names[0];
    std::vector<std::string> suffixes;
    for (const auto& name : c.names) {
      if (k > 0) suffixes.emplace_back(SuffixOf(name, k));
    }
    EXPECT_EQ(suffixes, c.suffixes) << c.names[0];
  }
}

}  // namespace
