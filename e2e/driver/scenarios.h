// The end-to-end scenarios: each one a user's session with the real program.
#pragma once

#include <string>
#include <vector>

#include "texmint_app.h"

struct ScenarioContext {
  std::string program;   // texmint.exe
  std::string work;      // this scenario's own folder, emptied before it runs
  std::string fixtures;  // the real model files (read only)
  std::string shots;     // where screenshots go; empty for none
};

struct Scenario {
  const char* name;
  void (*run)(const ScenarioContext& context, Texmint& app);
};

const std::vector<Scenario>& AllScenarios();
