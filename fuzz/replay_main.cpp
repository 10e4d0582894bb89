// Runs fuzz inputs without libFuzzer, so that the regression inputs and the seed corpus run
// as ordinary tests with any compiler: texmint_fuzz_TARGET FOLDER... A broken invariant or a
// sanitizer report aborts; running no input at all is an error too.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  std::set<std::filesystem::path> files;  // the same order on every machine
  for (int i = 1; i < argc; ++i) {
    std::error_code missing;  // a target may have no regression inputs yet
    for (const auto& entry : std::filesystem::directory_iterator(argv[i], missing))
      files.insert(entry.path());
  }
  for (const auto& file : files) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::fprintf(stderr, "running %s\n", file.c_str());
    // In a block of exactly its size, as libFuzzer hands it over, so that the sanitizers see
    // a read one byte past its end.
    const auto exact = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), exact.get());
    LLVMFuzzerTestOneInput(exact.get(), bytes.size());
  }
  std::printf("replayed %zu inputs\n", files.size());
  return files.empty() ? 1 : 0;
}
