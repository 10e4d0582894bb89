#include "check.h"

#include <cstdio>

namespace {

std::vector<std::string>& OpenSteps() {
  static std::vector<std::string> steps;
  return steps;
}

}  // namespace

void Fail(std::string_view what) {
  std::string message;
  for (const std::string& step : OpenSteps()) message += "[" + step + "] ";
  message += what;
  throw ScenarioFailure{message};
}

Step::Step(std::string name) {
  std::printf("  - %s\n", name.c_str());
  std::fflush(stdout);
  OpenSteps().push_back(std::move(name));
}

Step::~Step() {
  OpenSteps().pop_back();
}

std::string Shown(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
      out += hex;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Shown(const std::vector<std::string>& rows) {
  std::string out = "[";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i > 0) out += ", ";
    out += Shown(rows[i]);
  }
  return out + "]";
}

void ExpectText(std::string_view what, std::string_view actual, std::string_view expected) {
  if (actual != expected) {
    Fail(std::string(what) + ": expected " + Shown(expected) + ", saw " + Shown(actual));
  }
}

void ExpectRows(std::string_view what, const std::vector<std::string>& actual,
                const std::vector<std::string>& expected) {
  if (actual != expected) {
    Fail(std::string(what) + ": expected " + Shown(expected) + ", saw " + Shown(actual));
  }
}

void ExpectTrue(std::string_view what, bool condition) {
  if (!condition) Fail(std::string(what));
}
