// The benchmark (docs/performance.md): each case beside its physical baseline, timed with the
// standard library alone, so that the Windows builds build it too (they time the scans only).
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/model_bytes.h"
#include "model/texture_scan.h"
#include "model/type_name_search.h"

#ifdef __linux__
#include <fcntl.h>
#include <unistd.h>

#include <fstream>

#include "check_command.h"
#include "cli_args.h"
#include "cli_run.h"
#include "common/text.h"
#include "fix_command.h"
#include "front/host_files.h"
#include "model/load_model.h"
#include "variants/variant_writer.h"
#endif

namespace {

using Bytes = std::string;  // as the tests build models
constexpr std::size_t kKiB = 1024, kMiB = 1024 * kKiB;
constexpr const char* kUsage =
    "usage: texmint_bench [--smoke] [--only scan|load|write|check|fix] [--samples N] "
    "[--dir FOLDER]\n";

struct Options {
  bool smoke = false;
  std::string only, dir;  // only: empty for every case
  int samples = 31;
  std::vector<std::size_t> scanSizes{kMiB, 64 * kMiB};
  std::size_t loadSize = 256 * kMiB, writeSize = kMiB;
  unsigned loadPairs = 10, copies = 1000, writePairs = 5, checkModels = 2000, checkEntries = 20000,
           checkPairs = 5, cfgFolders = 300, cfgFiles = 20000, cfgEntries = 10000;
};

bool g_failed = false;
volatile std::size_t g_sink;  // keeps the compiler from dropping the timed work
std::array<TextureRef, kMaxTextureRefs> g_table;

void Fail(const char* what) {
  std::fprintf(stderr, "texmint_bench: %s\n", what);
  g_failed = true;
}

constexpr std::uint8_t kAbsent = 0xA7;  // never in an image: memchr looks for it in vain
// Measured in morrowind_mossyrock.nif: 138 "N" bytes in 66,914, 11 records, 2 of them textures.
constexpr double kNPerByte = 138.0 / 66914.0, kBytesPerRecord = 66914.0 / 11.0,
                 kTexturesPerRecord = 2.0 / 11.0;

std::span<const std::uint8_t> AsBytes(std::string_view image) {
  return {reinterpret_cast<const std::uint8_t*>(image.data()), image.size()};
}

// Records of the kinds a real model holds, "N" as often as there. At most 100 texture records,
// spread over the image, name an outside file: the reference table never fills, the scan ends.
Bytes Realistic(std::size_t size) {
  constexpr auto kOtherTypes = std::to_array<std::string_view>(
      {"NiNode", "NiTriShape", "NiTriShapeData", "NiTexturingProperty", "NiMaterialProperty",
       "NiSpecularProperty"});
  constexpr std::string_view kPath = "textures\\tx_bench_mossy_stone01.dds";
  std::mt19937_64 random(1);  // the same images in every run
  const auto chance = [&random](double p) { return double(random() >> 11) * 0x1.0p-53 < p; };
  const auto every = std::size_t(double(size) / kBytesPerRecord * kTexturesPerRecord / 100) + 1;
  Bytes out(kVersionedHeader);
  out.reserve(size + 64 * kKiB);
  for (std::size_t textures = 0, external = 0; out.size() < size;) {
    const bool texture = chance(kTexturesPerRecord);
    const bool isExternal = texture && textures++ % every == 0 && external++ < 100;
    const std::string_view type = kOtherTypes[random() % kOtherTypes.size()];
    out += texture ? TextureRecord(isExternal ? kPath : "", isExternal)
                   : U32(std::uint32_t(type.size())).append(type);
    // Random record data around the fixture's mean size; the type names hold the other "N".
    const auto mean = std::size_t(kBytesPerRecord);
    for (std::size_t n = mean / 2 + random() % mean; n > 0; --n) {
      auto byte = char(random() >> 56);
      if (byte == 'N' || byte == char(kAbsent)) byte = 0;
      out.push_back(chance(kNPerByte - 1.0 / kBytesPerRecord) ? 'N' : byte);
    }
  }
  out.resize(size);
  return out;
}

// The scan's contents, realistic or the header then `unit` over and over, and their targets.
enum class Target { kThroughput, kTime, kNone };
constexpr const char* kTargetText[] = {"throughput, >= 0.8x:", "time, <= 10x:", "time, no target"};
struct Content {
  const char* name;
  std::string_view unit;  // empty: realistic
  Target target;
};
constexpr Content kContents[] = {{"realistic", "", Target::kThroughput},
                                 {"all-N", "N", Target::kTime},
                                 {"near-miss", kTextureTypeName.substr(0, 14), Target::kTime},
                                 {"all-match", kTextureTypeName, Target::kNone}};

Bytes Made(const Content& content, std::size_t size) {
  if (content.unit.empty()) return Realistic(size);
  Bytes out(kVersionedHeader);
  while (out.size() < size) out += content.unit;
  return out.substr(0, size);
}

// Appended, not added: GCC 12 at -O3 takes "text" + a string for an overlapping copy.
std::string Name(std::string_view a, std::size_t n, std::string_view b) {
  return std::string(a).append(std::to_string(n)).append(b);
}

std::string SizeLabel(std::size_t bytes) {
  return bytes % kMiB == 0 ? Name("", bytes / kMiB, "MiB") : Name("", bytes / kKiB, "KiB");
}

constexpr const char* kVerdict[] = {"MISSED", "met"};

template <typename Run>
double Seconds(Run run, long calls = 1) {
  const auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < calls; ++i) run();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Seconds per call of `run` in the fastest sample; a sample repeats it for at least 2 ms.
template <typename Run>
double Fastest(const Options& o, Run run) {
  long calls = 1;
  while (!o.smoke && Seconds(run, calls) < 2e-3 && calls < (1L << 24)) calls *= 2;
  double fastest = 1e30;
  for (int s = 0; s < o.samples; ++s) fastest = std::min(fastest, Seconds(run, calls) / calls);
  return fastest;
}

// Times `a` against `b` in pairs taking turns at going first, and prints the medians' verdict.
template <typename A, typename B, typename Reset>
void Compare(unsigned pairs, A a, B b, Reset reset, const char* what, const std::string& size,
             const char* side, const char* base, double limit, const char* tail = "") {
  std::array<std::vector<double>, 2> times;
  for (unsigned pair = 0; pair < pairs; ++pair) {
    for (const unsigned turn : {pair % 2, 1 - pair % 2}) {
      reset();
      times[turn].push_back(turn == 0 ? Seconds(a) : Seconds(b));
    }
  }
  for (auto& t : times) std::sort(t.begin(), t.end());
  const double mine = times[0][pairs / 2], theirs = times[1][pairs / 2], ratio = mine / theirs;
  std::printf("%s\t%s\t%s %.1f ms\t%s %.1f ms\t%.2fx, <= %gx: %s%s\n", what, size.c_str(), side,
              mine * 1e3, base, theirs * 1e3, ratio, limit, kVerdict[ratio <= limit], tail);
}

// The byte search, what a processor without SSE2 gets, from match to match as the scan moves.
std::size_t ByteSearchPass(std::span<const std::uint8_t> image) {
  std::size_t at = kModelHeader.size();
  while ((at = FindTextureTypeNameWith(TypeNameSearch::kBytes, image, at)) < image.size())
    at += kTextureTypeName.size();
  return at;
}

std::size_t MemchrPass(std::span<const std::uint8_t> image) {
  return std::memchr(image.data(), kAbsent, image.size()) != nullptr;
}

void ScanCases(const Options& o) {
  std::printf("# scan, %d-bit build, its search here: %s; microseconds per pass\n",
              int(sizeof(void*) * 8),
              BestTypeNameSearch() == TypeNameSearch::kVector ? "vector (SSE2)" : "bytes");
  for (const Content& content : kContents) {
    std::vector<double> scans, memchrs;
    for (const std::size_t size : o.scanSizes) {
      const Bytes made = Made(content, size);  // kept while its bytes are timed
      const auto image = AsBytes(made);
      const double scan = Fastest(o, [&] { g_sink = ScanTextureRefs(image, g_table).refCount; });
      const double bytes = Fastest(o, [&] { g_sink = ByteSearchPass(image); });
      const double base = Fastest(o, [&] { g_sink = MemchrPass(image); });
      // Every image starts with the header and lacks the byte memchr looks for.
      if (g_sink != 0 || ScanTextureRefs(image, g_table).status == ScanStatus::kNotNetImmerse)
        Fail("a scan image is wrong");
      const bool throughput = content.target == Target::kThroughput;
      const double ratio = throughput ? base / scan : scan / base;
      std::printf(
          "scan\t%s\t%s\t%.1f\t%.1f\t%.1f\t%.2fx %s\t%s\n", content.name, SizeLabel(size).c_str(),
          scan * 1e6, bytes * 1e6, base * 1e6, ratio, kTargetText[int(content.target)],
          content.target == Target::kNone ? "" : kVerdict[throughput ? ratio >= 0.8 : ratio <= 10]);
      scans.push_back(scan), memchrs.push_back(base);
    }
    // Linear: the scan's time grows by at most twice the factor memchr's (linear) time does.
    if (content.target == Target::kTime && scans.size() > 1) {
      const double scanGrowth = scans.back() / scans.front(),
                   memchrGrowth = memchrs.back() / memchrs.front();
      std::printf("growth\t%s\t%s -> %s\tscan x%.1f\tmemchr x%.1f\tlinear: %s\n", content.name,
                  SizeLabel(o.scanSizes.front()).c_str(), SizeLabel(o.scanSizes.back()).c_str(),
                  scanGrowth, memchrGrowth, kVerdict[scanGrowth <= 2 * memchrGrowth]);
    }
    std::fflush(stdout);
  }
}

#ifdef __linux__
namespace fs = std::filesystem;

bool Load(const fs::path& path) {
  CopyText(g_app.modelPath, path.string());
  return LoadModel() == 1;
}

// The baseline, what any loader has to do at least: open, size, a new buffer, one read.
std::unique_ptr<std::uint8_t[]> PlainRead(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  const off_t size = fd < 0 ? -1 : ::lseek(fd, 0, SEEK_END);
  auto buffer = size >= 0 && ::lseek(fd, 0, SEEK_SET) == 0
                    ? std::make_unique_for_overwrite<std::uint8_t[]>(std::size_t(size))
                    : nullptr;
  if (buffer && ::read(fd, buffer.get(), std::size_t(size)) != size) buffer.reset();
  if (fd >= 0) ::close(fd);
  return buffer;
}

bool PlainWrite(const fs::path& path, std::span<const std::uint8_t> bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  const auto written = fd < 0 ? -1 : ::write(fd, bytes.data(), bytes.size());
  return fd >= 0 && ::close(fd) == 0 && written == ssize_t(bytes.size());
}

// How far `work` raises the peak resident size, reset to the present first, in MiB; -1: unknown.
template <typename Work>
double PeakGrowthMiB(Work work) {
  const auto peakKiB = [] {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
      if (line.starts_with("VmHWM:")) return std::stod(line.substr(6));
    return -1.0;
  };
  if (!(std::ofstream("/proc/self/clear_refs") << "5" << std::flush)) return -1;
  const double before = peakKiB();
  work();
  return (peakKiB() - before) / 1024;
}

fs::path WriteBytes(const fs::path& path, std::string_view bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

void LoadCase(const Options& o, const fs::path& folder) {
  const fs::path path = WriteBytes(folder / "model.nif", Realistic(o.loadSize));
  if (!Load(path)) return Fail("the model could not be loaded");
  // How LoadModel's time divides: its scan alone, and one memchr pass over the same image.
  const std::span<const std::uint8_t> loaded(g_app.modelImage.get(), g_app.modelSize);
  const double scan = Fastest(o, [&] { g_sink = ScanTextureRefs(loaded, g_table).refCount; });
  const double pass = Fastest(o, [&] { g_sink = MemchrPass(loaded); });
  char tail[96];
  std::snprintf(tail, sizeof tail, "\t(its scan %.1f ms, one memchr pass %.1f ms)", scan * 1e3,
                pass * 1e3);
  std::unique_ptr<std::uint8_t[]> read;
  const auto release = [&] { g_app.modelImage.reset(), read.reset(); };  // untimed, both sides
  Compare(
      o.loadPairs, [&] { Load(path); }, [&] { read = PlainRead(path); }, release, "load",
      SizeLabel(o.loadSize), "LoadModel", "read", 1.1, tail);
  release();

  const double loadPeak = PeakGrowthMiB([&] { Load(path); });
  const double readPeak = PeakGrowthMiB([&] { g_sink = PlainRead(path) != nullptr; });
  if (loadPeak < 0 || readPeak < 0) return Fail("the peak memory could not be measured");
  std::printf("peak\t%s\tLoadModel +%.2f MiB\tread +%.2f MiB\t<= file + 4 MiB: %s\n",
              SizeLabel(o.loadSize).c_str(), loadPeak, readPeak,
              kVerdict[loadPeak <= double(o.loadSize) / kMiB + 4]);
}

// The dialog's Create NIFs of reference 0, numbered (the stand-in answers the suffix question
// OK, not Yes), against a loop writing the same bytes to as many new files.
void WriteCase(const Options& o, const fs::path& folder) {
  ResetAppState();
  if (!Load(WriteBytes(folder / "model.nif", Realistic(o.writeSize))))
    return Fail("the model could not be loaded");
  g_app.replacementCount = std::min<unsigned>(o.copies, kMaxReplacements);
  for (unsigned i = 0; i < g_app.replacementCount; ++i)
    std::snprintf(g_app.replacements[i].name, kReplacementNameCapacity, "tx_bench_%04u.dds", i + 1);
  const std::uint32_t row = 0;
  VariantJob job;  // field by field: the job may gain fields the writer case leaves empty
  job.refs = {&row, 1};
  job.basePath = (folder / "model").string();
  // The plain loop writes the model's bytes, which differ from a copy's in one path.
  const auto writePlain = [&] {
    for (unsigned i = 1; i <= o.copies; ++i)
      if (!PlainWrite(folder / Name("plain_", i, ".nif"),
                      {g_app.modelImage.get(), g_app.modelSize}))
        Fail("a plain write failed");
  };
  // Each side writes into an emptied folder; the writer first once untimed, to count its copies.
  const auto empty = [&] { fs::remove_all(folder), fs::create_directory(folder); };
  empty(), WriteVariants(job);
  if (std::distance(fs::directory_iterator(folder), {}) != o.copies) Fail("a copy is missing");
  Compare(
      o.writePairs, [&] { WriteVariants(job); }, writePlain, empty, "write",
      Name("", o.copies, " x ").append(SizeLabel(o.writeSize)), "WriteVariants", "plain", 1.25);
  empty();
}

// texmint-cli check, or fix, with standard output sent nowhere, as into a pipe nobody reads:
// the commands' tables are not what is timed. Every case leaves a texture lost for good.
void Quietly(const CliArgs& cli, bool fix = false) {
  static const int null = ::open("/dev/null", O_WRONLY);
  const int out = ::dup(STDOUT_FILENO);
  std::string error;
  std::fflush(stdout), ::dup2(null, STDOUT_FILENO);
  const int status = fix ? RunFix(cli, error) : RunCheck(cli.sources, cli.models, error);
  std::fflush(stdout), ::dup2(out, STDOUT_FILENO), ::close(out);
  if (status != kExitErrorShown) Fail("check or fix did not leave the lost textures missing");
}

// check of a mod's tree (models naming a loose texture, an archived one and, every tenth, a lost
// one) against reading the whole tree; then fix --out once the loose textures moved (a third of
// the references fixable) against check and a plain write of the fixed models.
void CheckAndFixCases(const Options& o, const fs::path& folder, bool fix) {
  const fs::path data = folder / "Data Files", out = folder / "fixed";
  std::vector<std::string> archived;
  for (unsigned i = 0; i < o.checkEntries; ++i)
    archived.push_back(Name("textures\\arch\\a", i, ".dds"));
  // The tests' archive of empty files, followed by as much data as 256 bytes a file.
  WriteBytes(data / "Morrowind.bsa", ArchiveBytes(archived).append(archived.size() * 256, '\0'));
  for (unsigned i = 0; i < o.checkModels; ++i) {
    WriteBytes(data / "Textures/mymod" / Name("t", i, ".dds"), Bytes(128, '\0'));
    WriteBytes(data / "Meshes/mymod" / Name("m", i, ".nif"),
               Bytes(kVersionedHeader) + TextureRecord(Name("textures\\mymod\\t", i, ".dds")) +
                   TextureRecord(Name("arch\\a", i * 7 % o.checkEntries, ".tga")) +
                   TextureRecord(Name("lost", i, ".dds"), i % 10 == 0) + Bytes(4 * kKiB, '\0'));
  }
  CliArgs cli;
  cli.sources.dataDirs = {data.string()}, cli.models = {(data / "Meshes").string()};
  cli.fixMode = FixMode::kOut, cli.outDir = out.string();
  const auto readAll = [&] {
    for (const auto& entry : fs::recursive_directory_iterator(data))
      if (entry.is_regular_file()) g_sink = PlainRead(entry.path()) != nullptr;
  };
  Compare(
      o.checkPairs, [&] { Quietly(cli); }, readAll, [] {}, "check",
      Name("", o.checkModels, " models"), "check", "list and read", 1.5);
  if (!fix) return;

  fs::rename(data / "Textures/mymod", data / "Textures/moved");
  const auto reset = [&] { fs::remove_all(out), fs::create_directory(out); };
  reset(), Quietly(cli, true);
  std::vector<std::string> fixed;  // the fixed models' bytes
  for (const auto& entry : fs::recursive_directory_iterator(out))
    if (std::ifstream in(entry.path(), std::ios::binary); entry.is_regular_file())
      fixed.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (fixed.size() != o.checkModels) return Fail("fix did not write every model");
  const auto checkAndWrite = [&] {
    Quietly(cli);
    fs::create_directory(out / "mymod");
    for (std::size_t i = 0; i < fixed.size(); ++i)
      if (!PlainWrite(out / "mymod" / Name("", i, ".nif"), AsBytes(fixed[i])))
        Fail("a write failed");
  };
  Compare(
      o.checkPairs, [&] { Quietly(cli, true); }, checkAndWrite, reset, "fix",
      Name("", o.checkModels, " models"), "fix --out", "check and write", 1.5);
}

// check --openmw-cfg of a player's folders and archives, against listing them and their tables.
void ConfigCase(const Options& o, const fs::path& folder) {
  const fs::path game = folder / "game", cfg = folder / "openmw.cfg", model = folder / "m.nif";
  std::string lines;
  for (unsigned f = 0; f < o.cfgFolders; ++f) {
    lines.append("data=\"").append((game / Name("mod", f, "")).string()).append("\"\n");
    for (unsigned i = f; i < o.cfgFiles; i += o.cfgFolders)
      WriteBytes(game / Name("mod", f, "/Textures") / Name("t", i, ".dds"), Bytes(128, '\0'));
  }
  std::vector<fs::path> archives;
  for (unsigned a = 0; a < 3; ++a) {
    std::vector<std::string> names;
    for (unsigned i = 0; i < o.cfgEntries; ++i)
      names.push_back(Name(Name("textures\\b", a, "\\e"), i, ".dds"));
    archives.push_back(game / Name("mod", a * (o.cfgFolders - 1) / 2, "") / Name("B", a, ".bsa"));
    WriteBytes(archives.back(), ArchiveBytes(names));
    lines.append("fallback-archive=").append(Name("B", a, ".bsa\n"));
  }
  WriteBytes(cfg, lines);
  WriteBytes(model, ModelNaming({"t7.tga", "b2\\e9.tga", "lost.dds"}));
  CliArgs cli;
  cli.sources.openmwCfg = cfg.string(), cli.models = {model.string()};
  const auto listAndRead = [&] {
    for (const auto& entry : fs::recursive_directory_iterator(game))
      g_sink = entry.path().native().size();
    for (const fs::path& archive : archives) {  // the header, then the tables it measures
      std::ifstream in(archive, std::ios::binary);
      std::uint32_t header[3] = {};
      Bytes tables(in.read(reinterpret_cast<char*>(header), sizeof header) ? header[1] : 0, '\0');
      g_sink = std::size_t(in.read(tables.data(), std::streamsize(tables.size())).gcount());
    }
  };
  Compare(
      o.checkPairs, [&] { Quietly(cli); }, listAndRead, [] {}, "check --openmw-cfg",
      Name("", o.cfgFolders, " folders"), "check", "list and read tables", 1.5);
}
#endif

}  // namespace

int main(int argc, char** argv) {
  Options o;
  const char* tmp = std::getenv("TMPDIR");
  o.dir = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool value = i + 1 < argc;
    if (arg == "--smoke")
      o.smoke = true;
    else if (arg == "--only" && value)
      o.only = argv[++i];
    else if (arg == "--dir" && value)
      o.dir = argv[++i];
    else if (arg == "--samples" && value)
      o.samples = std::max(1, std::atoi(argv[++i]));
    else
      return std::fputs(kUsage, stderr), 2;
  }
  if (o.smoke) {
    std::printf("# smoke run on small sizes: not a measurement\n");
    o = {true, o.only, o.dir, 1, {64 * kKiB}, kMiB, 64 * kKiB, 1, 10, 1, 20, 200, 1, 30, 200, 100};
  }
  const auto runs = [&o](std::string_view group) { return o.only.empty() || o.only == group; };
  if (runs("scan")) ScanCases(o);
#ifdef __linux__
  if (o.only != "scan") {
    std::string folder = (std::filesystem::path(o.dir) / "texmint-bench-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) return Fail("cannot make a scratch folder"), 1;
    if (runs("load")) LoadCase(o, folder);
    if (runs("write")) WriteCase(o, folder);
    if (runs("check") || runs("fix")) CheckAndFixCases(o, folder, runs("fix"));
    if (runs("check")) ConfigCase(o, folder);
    std::filesystem::remove_all(folder);
  }
#endif
  return g_failed ? 1 : 0;
}
