// The search engine alone, over an in-memory tree shaped like a system drive:
// a level of 20,000 names, Program Files with many vendors, a deep project
// tree and a chain 60 levels deep. Each run also sorts and trims the matches
// the way a run of the program does.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "console/show_matches.h"
#include "console/wincrt.h"
#include "fake/fake_system.h"
#include "matching/find_matches.h"
#include "matching/match_order.h"
#include "matching/path_spec.h"

namespace {

using vantor::fake::Fake;
namespace matching = vantor::matching;

constexpr int kWideLevel = 20000;
constexpr int kChainDepth = 60;

const char* const kSyllables[] = {"ac", "ad", "al", "an", "ba", "be", "ca", "co", "da", "de",
                                  "el", "en", "fa", "fi", "ga", "ha", "in", "ka", "la", "li",
                                  "ma", "mo", "na", "no", "pa", "ra", "re", "sa", "ta", "to",
                                  "un", "va", "ze", "zo", "ri", "lo", "mi", "se", "te", "ku"};
const char* const kParts[] = {"core", "util", "api",  "data",   "net",   "web",  "ui",
                              "io",   "auth", "sync", "text",   "image", "json", "xml",
                              "sql",  "test", "docs", "crypto", "cli",   "http"};

struct TreeMaker {
  std::mt19937 random{20240611};

  std::string Word(int min_syllables, int max_syllables) {
    std::string word;
    int count = min_syllables + static_cast<int>(random() % (max_syllables - min_syllables + 1));
    for (int i = 0; i < count; ++i) word += kSyllables[random() % std::size(kSyllables)];
    return word;
  }
  std::string Title() {
    std::string word = Word(2, 4);
    word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
  }
  std::string Part() { return kParts[random() % std::size(kParts)]; }
};

std::vector<std::string> wide_names;

void MakeTree() {
  vantor::fake::ResetFake();
  TreeMaker maker;
  while (static_cast<int>(wide_names.size()) < kWideLevel) {
    std::string name = maker.Word(2, 3) + "-" + maker.Part() + "-" +
                       std::to_string(maker.random() % 9 + 1) + "." +
                       std::to_string(maker.random() % 40);
    std::size_t before = Fake().dirs.size();
    Fake().AddDir("C:\\Cache\\" + name);
    if (Fake().dirs.size() > before) wide_names.push_back(name);
  }
  for (int vendor = 0; vendor < 220; ++vendor) {
    std::string base = "C:\\Program Files\\" + maker.Title() + " Software\\";
    for (int product = 0; product < 3; ++product) {
      std::string dir = base + maker.Title() + "\\";
      Fake().AddDir(dir + "bin");
      Fake().AddDir(dir + "lib\\" + maker.Part());
    }
  }
  Fake().AddDir("C:\\Program Files\\Common Files\\System");
  Fake().AddDir("C:\\ProgramData\\Corp\\Shared");
  for (int project = 0; project < 30; ++project) {
    std::string base = "C:\\Users\\dev\\Documents\\projects\\" + maker.Word(2, 3) +
                       "\\src\\main\\java\\com\\" + maker.Word(1, 2) + "\\" + maker.Word(2, 3);
    for (int part = 0; part < 6; ++part) Fake().AddDir(base + "\\" + maker.Part() + "\\impl");
  }
  Fake().AddDir(
      "C:\\Users\\dev\\Documents\\projects\\vesta\\src\\main\\java\\com\\orb\\vesta\\core\\impl");
  std::string chain = "C:\\deep";
  for (int level = 0; level < kChainDepth; ++level) {
    Fake().AddDir(chain + "\\ab");
    Fake().AddDir(chain + "\\cd");
    chain += "\\nx";
  }
  Fake().AddDir(chain);
}

void EnsureTree() {
  if (wide_names.empty()) MakeTree();
}

// One search as a run does it: search, sort, trim.
void RunSearch(benchmark::State& state, const std::string& spec, const std::string& base) {
  EnsureTree();
  std::size_t found = 0;
  for (auto _ : state) {
    matching::ResetLists();
    Fake().listed.clear();
    matching::SearchLevel(spec, base, 0);
    matching::SortMatches(matching::Matches());
    found = matching::Matches().size();
    if (!matching::Matches().empty()) matching::KeepBestMatches(matching::Matches());
    benchmark::DoNotOptimize(matching::Matches().data());
  }
  state.counters["matches"] = static_cast<double>(found);
  state.counters["read"] = static_cast<double>(Fake().listed.size());
}

// A name of the wide level with two neighbouring letters swapped.
std::string WideTypo() {
  EnsureTree();
  std::string typo = wide_names[kWideLevel / 2];
  std::swap(typo[1], typo[2]);
  return typo;
}

// Where the time of a run that keeps all 20,000 names of the wide level
// goes, stage by stage as the run flow takes them: the search alone, then
// the sort, the trim, and the selection screen, which drops the start
// directory and draws the first page (input that is no console leaves it at
// once). Each stage's time includes the stages before it.
enum Stage { kSearch, kSort, kTrim, kMenu };

void BM_StarAtWideLevelByStage(benchmark::State& state) {
  EnsureTree();
  const auto last = static_cast<Stage>(state.range(0));
  vantor::console::InitConsole();
  for (auto _ : state) {
    matching::ResetLists();
    Fake().listed.clear();
    Fake().output.clear();
    matching::SearchLevel("*", "C:\\Cache", 0);
    matching::MatchList& matches = matching::Matches();
    if (last >= kSort) matching::SortMatches(matches);
    if (last >= kTrim) matching::KeepBestMatches(matches);
    if (last >= kMenu)
      benchmark::DoNotOptimize(vantor::console::ShowMatches(matches, false, "C:\\Cache\\x"));
    benchmark::DoNotOptimize(matches.data());
  }
  state.counters["matches"] = static_cast<double>(matching::Matches().size());
}

void BM_TypoAtWideLevel(benchmark::State& state) { RunSearch(state, WideTypo(), "C:\\Cache"); }
void BM_StarAtWideLevel(benchmark::State& state) { RunSearch(state, "*", "C:\\Cache"); }
void BM_PrefixAtWideLevel(benchmark::State& state) { RunSearch(state, "ac", "C:\\Cache"); }
void BM_AbbreviationTwoLevels(benchmark::State& state) { RunSearch(state, "pr\\co", "C:\\"); }
void BM_ProgramFilesStarStar(benchmark::State& state) {
  RunSearch(state, "Program Files\\*\\*", "C:\\");
}
void BM_DeepPathTenLevels(benchmark::State& state) {
  RunSearch(state, "us\\dev\\doc\\proj\\ves\\src\\ma\\ja\\com\\orb\\ves\\co", "C:\\");
}
void BM_ChainSixtyLevels(benchmark::State& state) {
  std::string spec = "nx";
  for (int level = 1; level < kChainDepth; ++level) spec += "\\n";
  RunSearch(state, spec, "C:\\deep");
}

void BM_RewriteLongSpecification(benchmark::State& state) {
  std::string spec = std::string(10000, '\\') + std::string(10000, '.') + std::string(10000, '/');
  for (int i = 0; i < 5000; ++i) spec += ".\\";
  for (auto _ : state) {
    std::string copy = spec;
    matching::SlashesToBackslashes(copy);
    matching::ExpandDoubleBackslash(copy);
    matching::ExpandDots(copy);
    benchmark::DoNotOptimize(copy.data());
  }
  state.counters["bytes"] = static_cast<double>(spec.size());
}

void BM_MakeAbsolutePathManySteps(benchmark::State& state) {
  EnsureTree();
  std::string spec;
  for (int i = 0; i < 10000; ++i) spec += "..\\";
  spec += "top";
  for (auto _ : state) benchmark::DoNotOptimize(matching::MakeAbsolutePath(spec));
}

BENCHMARK(BM_TypoAtWideLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StarAtWideLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StarAtWideLevelByStage)
    ->ArgName("stage")
    ->DenseRange(kSearch, kMenu)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrefixAtWideLevel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AbbreviationTwoLevels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProgramFilesStarStar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeepPathTenLevels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ChainSixtyLevels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RewriteLongSpecification)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MakeAbsolutePathManySteps)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
