#include "cli_args.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace {

CliParse Fail(std::string error) {
  return {false, {}, std::move(error)};
}

CliParse Only(CliCommand command) {
  CliParse parse;
  parse.ok = true;
  parse.args.command = command;
  return parse;
}

// Plain decimal digits only: a sign or trailing text is a mistake worth reporting.
std::optional<std::uint32_t> ParseIndex(std::string_view text) {
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return {};
  return value;
}

constexpr std::string_view kFixModesMistake =
    "fix takes only one of --dry-run, --in-place and --out DIR";

bool IsOption(std::string_view arg) {
  return arg.size() > 1 && arg[0] == '-';
}

// True when args[i] is the option `name`, as "NAME VALUE" (i then steps past the value) or
// "NAME=VALUE". `value` has no data when the value is missing at the end of the line.
bool TakeValue(std::span<const char* const> args, std::size_t& i, std::string_view name,
               std::string_view& value) {
  const std::string_view arg = args[i];
  if (arg == name) {
    value = i + 1 < args.size() ? std::string_view(args[++i]) : std::string_view();
    return true;
  }
  if (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=') {
    value = arg.substr(name.size() + 1);
    return true;
  }
  return false;
}

}  // namespace

CliParse ParseCliArgs(std::span<const char* const> args) {
  // --help and --version win wherever they stand before a "--".
  for (const std::string_view arg : args) {
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") return Only(CliCommand::kHelp);
  }
  for (const std::string_view arg : args) {
    if (arg == "--") break;
    if (arg == "--version") return Only(CliCommand::kVersion);
  }
  if (args.empty()) return Fail("missing command: list, make, check or fix");

  const std::string_view command = args[0];
  CliArgs parsed;
  if (command == "list") {
    parsed.command = CliCommand::kList;
  } else if (command == "make") {
    parsed.command = CliCommand::kMake;
  } else if (command == "check") {
    parsed.command = CliCommand::kCheck;
  } else if (command == "fix") {
    parsed.command = CliCommand::kFix;
  } else if (IsOption(command)) {
    return Fail("unknown option " + std::string(command));
  } else {
    return Fail("unknown command " + std::string(command) + ": use list, make, check or fix");
  }
  const bool list = parsed.command == CliCommand::kList;
  const bool make = parsed.command == CliCommand::kMake;
  const bool fix = parsed.command == CliCommand::kFix;
  const bool check = parsed.command == CliCommand::kCheck || fix;
  GameSources& sources = parsed.sources;
  // fix gives out its models one way only.
  const auto setFixMode = [&](FixMode mode) {
    const bool first = parsed.fixMode == FixMode::kNone;
    parsed.fixMode = mode;
    return first;
  };

  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (optionsEnded || !IsOption(arg)) {
      positional.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (list && arg == "--long") {
      parsed.longList = true;
      continue;
    }
    if (make && arg == "--suffix") {
      parsed.suffix = true;
      continue;
    }
    if (make && arg == "--keep-folder") {
      parsed.keepFolder = true;
      continue;
    }
    if (make && arg == "--dry-run") {
      parsed.dryRun = true;
      continue;
    }
    if (fix && (arg == "--dry-run" || arg == "--in-place")) {
      if (!setFixMode(arg == "--dry-run" ? FixMode::kDryRun : FixMode::kInPlace))
        return Fail(std::string(kFixModesMistake));
      continue;
    }
    if (make && arg == "--game-path") {
      parsed.gamePath = true;
      continue;
    }
    std::string_view value;
    if (make && TakeValue(args, i, "--ref", value)) {
      if (value.data() == nullptr) return Fail("--ref needs a number");
      const auto index = ParseIndex(value);
      if (!index) return Fail("--ref needs a number from 0 on, not '" + std::string(value) + "'");
      parsed.refs.push_back(*index);
      continue;
    }
    if (make && TakeValue(args, i, "--ref-name", value)) {
      if (value.data() == nullptr) return Fail("--ref-name needs a NAME");
      parsed.refNames.emplace_back(value);
      continue;
    }
    if ((make || fix) && TakeValue(args, i, "--out", value)) {
      if (value.empty()) return Fail("--out needs a folder");
      if (!parsed.outDir.empty()) return Fail("--out given twice");
      if (fix && !setFixMode(FixMode::kOut)) return Fail(std::string(kFixModesMistake));
      parsed.outDir = value;
      continue;
    }
    if (check && TakeValue(args, i, "--data", value)) {
      if (value.empty()) return Fail("--data needs a folder");
      sources.dataDirs.emplace_back(value);
      continue;
    }
    if (check && (TakeValue(args, i, "--openmw-cfg", value) ||
                  TakeValue(args, i, "--morrowind-ini", value))) {
      const std::string option(arg.substr(0, arg.find('=')));
      if (value.empty()) return Fail(option + " needs a FILE");
      std::string& file = option == "--openmw-cfg" ? sources.openmwCfg : sources.morrowindIni;
      if (!file.empty()) return Fail(option + " given twice");
      file = value;
      if (!sources.openmwCfg.empty() && !sources.morrowindIni.empty())
        return Fail("--openmw-cfg and --morrowind-ini cannot be used together");
      continue;
    }
    return Fail("unknown option " + std::string(arg) + " for " + std::string(command));
  }

  if (fix && parsed.fixMode == FixMode::kNone)
    return Fail("fix needs one of --dry-run, --in-place and --out DIR");
  if (check) {  // what check needs is checked where its folders are looked at
    parsed.models = std::move(positional);
    return {true, std::move(parsed), {}};
  }

  if (positional.empty()) return Fail(std::string(command) + " needs a MODEL file");
  parsed.model = positional[0];
  if (list) {
    if (positional.size() > 1) return Fail("list takes one MODEL, not also " + positional[1]);
    return {true, std::move(parsed), {}};
  }
  if (parsed.refs.empty() && parsed.refNames.empty())
    return Fail("make needs --ref N, N a row of 'texmint-cli list MODEL'");
  if (parsed.gamePath && parsed.keepFolder)
    return Fail("--game-path and --keep-folder cannot be used together");
  if (positional.size() < 2) return Fail("make needs at least one TEXTURE file");
  parsed.textures.assign(positional.begin() + 1, positional.end());
  return {true, std::move(parsed), {}};
}
