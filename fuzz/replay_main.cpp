// Runs fuzz target inputs without libFuzzer, so that the targets build with any compiler
// and the regression inputs and the seed corpus run as ordinary tests.
//
//   texmint_fuzz_<target> PATH...   (each PATH a file, or a folder whose files are run)
//
// A broken invariant or a sanitizer report aborts the program; otherwise it prints how
// many inputs it ran. A folder that does not exist is passed over (a target may have no
// regression inputs yet), but running no input at all is an error.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool Replay(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return false;
  }
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                        std::istreambuf_iterator<char>()};
  std::fprintf(stderr, "running %s (%zu bytes)\n", path.c_str(), bytes.size());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg = argv[i];
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::exists(arg)) {
      std::fprintf(stderr, "no %s, passed over\n", arg.c_str());
      continue;
    }
    if (std::filesystem::is_directory(arg)) {
      for (const auto& entry : std::filesystem::directory_iterator(arg)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());  // the same order on every machine
    } else {
      files.push_back(arg);
    }
    for (const auto& file : files) {
      if (!Replay(file)) return 1;
      ++count;
    }
  }
  std::printf("replayed %zu inputs\n", count);
  return count > 0 ? 0 : 1;
}
