#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "variants/naming.h"

namespace {

std::vector<ReplacementName> Names(const std::vector<std::string>& names) {
  std::vector<ReplacementName> out(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) CopyText(out[i].name, names[i]);
  return out;
}

TEST(MakeBasePath, DropsTheExtensionAndCutsTheFileName) {
  const struct {
    const char* model;
    const char* base;
  } cases[] = {
      {"/data/meshes/barrel.nif", "/data/meshes/barrel"},
      {"/m/abcdefghijklmnopqrstuvwxyzabcd.nif", "/m/abcdefghijklmnopqrstuvwx"},
      {"/m/abcdefghijklmnopqrstuvwx.nif", "/m/abcdefghijklmnopqrstuvwx"},
      {"/m/abcdefghijklmnopqrstuvwxyz", "/m/abcdefghijklmnopqrstuvwx"},
      {"/my.dir/barrel", "/my.dir/barrel"},
      {"/my.dir/barrel.v2.nif", "/my.dir/barrel.v2"},
      {"/data/.nif", "/data/"},
      {"barrel.nif", "barrel"},
  };
  for (const auto& c : cases) EXPECT_EQ(MakeBasePath(c.model), c.base) << c.model;
}

TEST(OutputPaths, NumbersHaveAtLeastTwoDigits) {
  EXPECT_EQ(NumberedOutputPath("/data/meshes/barrel", 1), "/data/meshes/barrel_01.nif");
  EXPECT_EQ(NumberedOutputPath("/b", 99), "/b_99.nif");
  EXPECT_EQ(NumberedOutputPath("/b", 100), "/b_100.nif");
  EXPECT_EQ(NumberedOutputPath("/b", 5000), "/b_5000.nif");
  EXPECT_EQ(SuffixOutputPath("/b", "01"), "/b_01.nif");
  EXPECT_EQ(SuffixOutputPath("/b", ""), "/b_.nif");
}

struct SuffixCase {
  std::vector<std::string> names;  // in sorted order
  unsigned k;
  std::vector<std::string> suffixes;
};

void PrintTo(const SuffixCase& c, std::ostream* os) {
  for (const auto& n : c.names) *os << n << " ";
}

class FindSuffixStartTest : public testing::TestWithParam<SuffixCase> {};

TEST_P(FindSuffixStartTest, GivesTheDifferingTailOrNothing) {
  const auto names = Names(GetParam().names);
  const unsigned k = FindSuffixStart(names);
  EXPECT_EQ(k, GetParam().k);
  if (k == 0) return;
  std::vector<std::string> suffixes;
  for (const auto& n : GetParam().names) suffixes.emplace_back(SuffixOf(n, k));
  EXPECT_EQ(suffixes, GetParam().suffixes);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, FindSuffixStartTest,
    testing::Values(
        SuffixCase{{"rock01.dds", "rock02.dds", "rock10.dds"}, 4, {"01", "02", "10"}},
        SuffixCase{{"wall_a.dds", "wall_b.dds"}, 5, {"a", "b"}},
        SuffixCase{{"oak_bark_01.dds", "oak_bark_02.dds"}, 10, {"1", "2"}},
        SuffixCase{{"Rock01.dds", "rock02.dds"}, 5, {"1", "2"}},
        SuffixCase{{"tex10.dds", "tex9.dds"}, 3, {"10", "9"}},
        SuffixCase{{"Wall_A.dds", "wall_b.DDS"}, 5, {"A", "b"}},
        // The third name is not looked at where the first two differ: its "." stands there.
        SuffixCase{{"t!.dds", "t#.dds", "t.dds"}, 1, {"!", "#", ""}},
        SuffixCase{{"tex1.dds", "tex1a.dds"}, 0, {}},
        SuffixCase{{"grass.dds", "grass_dry.dds"}, 0, {}},
        SuffixCase{{"blue.dds", "red.dds"}, 0, {}},
        SuffixCase{{"stone_brown.dds", "stone_grey.dds"}, 0, {}}, SuffixCase{{"tx.dds"}, 0, {}},
        SuffixCase{{"rock01", "rock02.dds"}, 0, {}},
        // Suffixes equal but for letter case would name one file twice.
        SuffixCase{{"tex1.dds", "tex2.dds", "tex2.tga"}, 0, {}},
        SuffixCase{{"texa.dds", "texA.tga", "texb.dds"}, 0, {}},
        SuffixCase{{std::string(99, 'a'), std::string(99, 'a')}, 0, {}}));

}  // namespace
