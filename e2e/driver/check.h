// How a scenario reports what went wrong: every failure names the step the user was at.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Thrown by Fail and caught by the scenario runner, which prints it and ends the program.
struct ScenarioFailure {
  std::string message;
};

[[noreturn]] void Fail(std::string_view what);

// Names the user's current step for the life of the object; failures quote the open steps.
class Step {
 public:
  explicit Step(std::string name);
  ~Step();
  Step(const Step&) = delete;
  Step& operator=(const Step&) = delete;
};

// Shows control characters, so that a line feed in a message is visible in a report.
std::string Shown(std::string_view text);
std::string Shown(const std::vector<std::string>& rows);

void ExpectText(std::string_view what, std::string_view actual, std::string_view expected);
void ExpectRows(std::string_view what, const std::vector<std::string>& actual,
                const std::vector<std::string>& expected);
void ExpectTrue(std::string_view what, bool condition);
