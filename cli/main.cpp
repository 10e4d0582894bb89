// texmint-cli: Texmint's job from a shell.
#include <span>

#include "cli_run.h"

int main(int argc, char** argv) {
  if (argc < 1) return RunCli({});
  return RunCli({static_cast<const char* const*>(argv) + 1, static_cast<std::size_t>(argc - 1)});
}
