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

bool IsOption(std::string_view arg) {
  return arg.size() > 1 && arg[0] == '-';
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
  if (args.empty()) return Fail("missing command: list or make");

  const std::string_view command = args[0];
  CliArgs parsed;
  if (command == "list") {
    parsed.command = CliCommand::kList;
  } else if (command == "make") {
    parsed.command = CliCommand::kMake;
  } else if (IsOption(command)) {
    return Fail("unknown option " + std::string(command));
  } else {
    return Fail("unknown command " + std::string(command) + ": use list or make");
  }
  const bool make = parsed.command == CliCommand::kMake;

  std::vector<std::string> positional;
  bool sawRef = false;
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
    if (make && arg == "--suffix") {
      parsed.suffix = true;
      continue;
    }
    if (make && (arg == "--ref" || arg.starts_with("--ref="))) {
      if (sawRef) return Fail("--ref given twice");
      sawRef = true;
      std::string_view value;
      if (arg == "--ref") {
        if (i + 1 == args.size()) return Fail("--ref needs a number");
        value = args[++i];
      } else {
        value = arg.substr(6);
      }
      const auto index = ParseIndex(value);
      if (!index) return Fail("--ref needs a number from 0 on, not '" + std::string(value) + "'");
      parsed.ref = *index;
      continue;
    }
    return Fail("unknown option " + std::string(arg) + " for " + std::string(command));
  }

  if (positional.empty()) return Fail(std::string(command) + " needs a MODEL file");
  parsed.model = positional[0];
  if (!make) {
    if (positional.size() > 1) return Fail("list takes one MODEL, not also " + positional[1]);
    return {true, std::move(parsed), {}};
  }
  if (!sawRef) return Fail("make needs --ref N, N a row of 'texmint-cli list MODEL'");
  if (positional.size() < 2) return Fail("make needs at least one TEXTURE file");
  parsed.textures.assign(positional.begin() + 1, positional.end());
  return {true, std::move(parsed), {}};
}
