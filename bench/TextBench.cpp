// How the text toolkit scales with the size of the log: reading the "Files" list of a
// synthetic log of 1,000, 10,000 and 100,000 items (KeyTextGet with SyntaxList), taking its
// first item (ListTake, index 0, flags 1) and looking up its last item (ListFind). Each
// figure is the time per byte of the text the call looks at (the log, or the list). Prints
// the table and, last, "text-scaling R": the largest ratio over the three operations of the
// figure at 100,000 items to the one at 1,000. Exits with 1 when R exceeds 2.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "text/Strut.h"

namespace {

const int kSizes[] = {1000, 10000, 100000};

std::string FileItem(int i) {
  char item[160];
  std::snprintf(item, sizeof item,
                "Name=C:\\Program Files\\Example Product\\modules\\group%03d\\file%06d.dll"
                "\xF7\xF7Size=%d",
                i % 997, i, 1000 + i * 7 % 50000);
  return item;
}

// A log as an installer writes it, with the given number of items in "Files".
std::string SyntheticLog(int items) {
  std::string log = "[UNINSTALL]\r\nFiles=\r\n";
  log.reserve(static_cast<size_t>(items) * 80 + 1024);
  for (int i = 0; i < items; ++i) log.append("\"").append(FileItem(i)).append("\r\n");
  log.append("Links=\r\n\"Name=C:\\Windows\\Start Menu\\Programs\\Example\\Example.lnk\r\n");
  log.append("Registers=\r\n\"Key=HKEY_LOCAL_MACHINE\\Software\\Example\xF7\xF7Name=Version\r\n");
  log.append("\r\n[UNINSTALLREG]\r\nRegisters=\r\n\"Key=HKEY_LOCAL_MACHINE\\Software\\Example"
             "\xF7\xF7Name=DisplayName\r\n");
  log.append("\r\n[UNINSTALLCMD]\r\nInstall path=C:\\Program Files\\Example Product\r\n"
             "OnTest=0\r\nTitle=Remove Example Product\r\n");
  return log;
}

struct Fixture {
  std::string log;
  std::string list;
};

const Fixture& FixtureFor(int items) {
  static std::map<int, Fixture> fixtures;
  Fixture& f = fixtures[items];
  if (f.log.empty()) {
    f.log = SyntheticLog(items);
    KeyTextGet(f.log, "UNINSTALL", "Files", &SyntaxList, f.list);
  }
  return f;
}

void ReadList(benchmark::State& state) {
  const Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  std::string value;
  for (auto _ : state) {
    KeyTextGet(f.log, "UNINSTALL", "Files", &SyntaxList, value);
    benchmark::DoNotOptimize(value.data());
  }
  state.counters["bytes"] = static_cast<double>(f.log.size());
}

void TakeFirst(benchmark::State& state) {
  const Fixture& f = FixtureFor(static_cast<int>(state.range(0)));
  std::string list, item;
  for (auto _ : state) {
    list = f.list;  // a fresh list, outside the measured time
    const auto start = std::chrono::steady_clock::now();
    const int32_t left = ListTake(list, item, ITEM_DELIM, 0, LT_REMOVE);
    const auto stop = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(left);
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
  }
  state.counters["bytes"] = static_cast<double>(f.list.size());
}

void FindLast(benchmark::State& state) {
  const int items = static_cast<int>(state.range(0));
  const Fixture& f = FixtureFor(items);
  const std::string sought = FileItem(items - 1);
  for (auto _ : state) benchmark::DoNotOptimize(ListFind(f.list, sought, ITEM_DELIM, 0));
  if (ListFind(f.list, sought, ITEM_DELIM, 0) != items - 1) state.SkipWithError("not found");
  state.counters["bytes"] = static_cast<double>(f.list.size());
}

void Sizes(benchmark::internal::Benchmark* b) {
  for (const int n : kSizes) b->Arg(n);
  b->Unit(benchmark::kMicrosecond)->MinTime(0.5);
}

BENCHMARK(ReadList)->Apply(Sizes);
BENCHMARK(TakeFirst)->Apply(Sizes)->UseManualTime();
BENCHMARK(FindLast)->Apply(Sizes);

// Collects the time per byte of every run, and prints nothing itself.
class PerByte : public benchmark::BenchmarkReporter {
 public:
  struct Figure {
    double bytes = 0;
    double microseconds = 0;
  };
  std::map<std::string, std::map<int, Figure>> figures;  // operation -> items -> figure

  bool ReportContext(const Context&) override { return true; }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) {
        std::fprintf(stderr, "%s: %s\n", run.benchmark_name().c_str(), run.error_message.c_str());
        failed = true;
        continue;
      }
      const std::string name = run.run_name.function_name;
      const int items = std::stoi(run.run_name.args);
      const auto bytes = run.counters.find("bytes");
      figures[name][items] = {bytes == run.counters.end() ? 0 : bytes->second.value,
                              run.GetAdjustedRealTime()};
    }
  }
  bool failed = false;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  PerByte reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (reporter.failed) return 1;

  const char* labels[][2] = {{"ReadList", "KeyTextGet SyntaxList \"Files\""},
                             {"TakeFirst", "ListTake index 0, flags 1"},
                             {"FindLast", "ListFind of the last item"}};
  std::printf("%-32s %8s %11s %12s %9s\n", "operation", "items", "bytes", "time (us)",
              "ns/byte");
  double worst = 0;
  for (const auto& label : labels) {
    const auto& byItems = reporter.figures[label[0]];
    for (const int n : kSizes) {
      const auto it = byItems.find(n);
      if (it == byItems.end()) continue;
      const PerByte::Figure& f = it->second;
      std::printf("%-32s %8d %11.0f %12.1f %9.3f\n", label[1], n, f.bytes, f.microseconds,
                  f.microseconds * 1000.0 / f.bytes);
    }
    if (byItems.count(1000) && byItems.count(100000)) {
      const PerByte::Figure& small = byItems.at(1000);
      const PerByte::Figure& large = byItems.at(100000);
      const double ratio = (large.microseconds / large.bytes) / (small.microseconds / small.bytes);
      std::printf("%-32s %8s %11s %12s %9.2f\n", "  ratio 100,000 : 1,000", "", "", "", ratio);
      worst = std::max(worst, ratio);
    }
  }
  std::printf("text-scaling %.2f\n", worst);
  return worst > 2.0 ? 1 : 0;
}
