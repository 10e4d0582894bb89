#include "cli_args.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CliParse Parse(const std::vector<const char*>& args) {
  return ParseCliArgs(args);
}

TEST(CliArgs, ReadsTheCommandsAndTheirOperands) {
  struct Case {
    std::vector<const char*> args;
    CliCommand command;
    std::string model;
    std::uint32_t ref;
    bool suffix;
    std::vector<std::string> textures;
  };
  const std::vector<Case> cases = {
      {{"list", "m.nif"}, CliCommand::kList, "m.nif", 0, false, {}},
      {{"make", "m.nif", "--ref", "3", "a.dds"}, CliCommand::kMake, "m.nif", 3, false, {"a.dds"}},
      {{"make", "--suffix", "m.nif", "a.dds", "--ref=12", "b.dds"},
       CliCommand::kMake,
       "m.nif",
       12,
       true,
       {"a.dds", "b.dds"}},
      {{"make", "m.nif", "--ref", "0", "--", "--suffix", "-"},
       CliCommand::kMake,
       "m.nif",
       0,
       false,
       {"--suffix", "-"}},
      {{"make", "m.nif", "--ref", "4294967295", "a.dds"},
       CliCommand::kMake,
       "m.nif",
       4294967295u,
       false,
       {"a.dds"}},
      {{"--help"}, CliCommand::kHelp, "", 0, false, {}},
      {{"make", "m.nif", "-h"}, CliCommand::kHelp, "", 0, false, {}},
      {{"--version"}, CliCommand::kVersion, "", 0, false, {}},
      {{"list", "--version", "--help"}, CliCommand::kHelp, "", 0, false, {}},
  };
  for (const Case& c : cases) {
    const CliParse parse = Parse(c.args);
    SCOPED_TRACE(c.args.size() > 1 ? c.args[1] : c.args[0]);
    ASSERT_TRUE(parse.ok) << parse.error;
    EXPECT_EQ(parse.args.command, c.command);
    EXPECT_EQ(parse.args.model, c.model);
    const std::vector<std::uint32_t> refs = c.command == CliCommand::kMake
                                                ? std::vector<std::uint32_t>{c.ref}
                                                : std::vector<std::uint32_t>{};
    EXPECT_EQ(parse.args.refs, refs);
    EXPECT_EQ(parse.args.suffix, c.suffix);
    EXPECT_EQ(parse.args.textures, c.textures);
  }
}

TEST(CliArgs, RejectsMistakesWithOneLineEach) {
  struct Case {
    std::vector<const char*> args;
    std::string error;
  };
  const std::vector<Case> cases = {
      {{}, "missing command: list or make"},
      {{"lsit", "m.nif"}, "unknown command lsit: use list or make"},
      {{"-x"}, "unknown option -x"},
      {{"list"}, "list needs a MODEL file"},
      {{"list", "a.nif", "b.nif"}, "list takes one MODEL, not also b.nif"},
      {{"list", "m.nif", "--suffix"}, "unknown option --suffix for list"},
      {{"make", "m.nif", "a.dds"}, "make needs --ref N, N a row of 'texmint-cli list MODEL'"},
      {{"make", "m.nif", "a.dds", "--ref"}, "--ref needs a number"},
      {{"make", "m.nif", "--ref", "", "a.dds"}, "--ref needs a number from 0 on, not ''"},
      {{"make", "m.nif", "--ref", "+1", "a.dds"}, "--ref needs a number from 0 on, not '+1'"},
      {{"make", "m.nif", "--ref", "0x1", "a.dds"}, "--ref needs a number from 0 on, not '0x1'"},
      {{"make", "m.nif", "--ref", "99999999999", "a.dds"},
       "--ref needs a number from 0 on, not '99999999999'"},
      {{"make", "m.nif", "--ref", "1"}, "make needs at least one TEXTURE file"},
      {{"make", "--ref", "1"}, "make needs a MODEL file"},
      {{"make", "m.nif", "--ref", "1", "--Suffix", "a.dds"}, "unknown option --Suffix for make"},
  };
  for (const Case& c : cases) {
    const CliParse parse = Parse(c.args);
    EXPECT_FALSE(parse.ok) << c.error;
    EXPECT_EQ(parse.error, c.error);
    EXPECT_EQ(parse.error.find('\n'), std::string::npos);
  }
}

}  // namespace
