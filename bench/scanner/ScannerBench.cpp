// Throughput of the Pascal scanner on a large real unit, loaded as lines once and scanned
// repeatedly, beside two peers over the same lines: a plain byte loop and the character
// buffer alone. The unit is RAVELIN_BENCH_UNIT when set, else a big unit of fpc-source.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/TextLines.h"
#include "pascal/Vornbuffer.h"
#include "pascal/Vornscaner.h"

namespace {

const char* const kDefaultUnit = "/usr/share/fpcsrc/3.2.2/packages/fcl-passrc/src/pasresolver.pp";

struct TUnit {
  std::vector<std::string> Lines;
  std::int64_t Bytes = 0;  // the characters the scanner reads: each line and its line end
  std::string Error;
};

const TUnit& LoadUnit() {
  static const TUnit unit = [] {
    TUnit u;
    const char* name = std::getenv("RAVELIN_BENCH_UNIT");
    if (name == nullptr || *name == '\0') name = kDefaultUnit;
    std::ifstream in(name, std::ios::binary);
    if (!in) {
      u.Error = std::string("cannot read ") + name;
      return u;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    u.Lines = ravelin::SplitLines(text);
    for (const auto& line : u.Lines) u.Bytes += static_cast<std::int64_t>(line.size()) + 1;
    return u;
  }();
  return unit;
}

// Attaches the lines afresh without letting Reset empty them.
void Restart(ravelin::TVornstrBfr& buffer, std::vector<std::string>& lines) {
  buffer.SetSource(nullptr);
  buffer.Reset();
  buffer.SetSource(&lines);
}

void BM_ScanUnit(benchmark::State& state) {
  const TUnit& unit = LoadUnit();
  if (!unit.Error.empty()) {
    state.SkipWithError(unit.Error.c_str());
    return;
  }
  std::vector<std::string> lines = unit.Lines;
  ravelin::TVornPasScanner scanner;
  std::int64_t tokens = 0;
  std::string text;
  for (auto _ : state) {
    Restart(scanner.Buffer, lines);
    tokens = 0;
    while (!scanner.AtEnd()) {
      benchmark::DoNotOptimize(scanner.NextToken(text));
      ++tokens;
    }
  }
  state.SetBytesProcessed(state.iterations() * unit.Bytes);
  state.counters["tokens"] = static_cast<double>(tokens);
}
BENCHMARK(BM_ScanUnit)->Unit(benchmark::kMillisecond);

void BM_BufferReadChar(benchmark::State& state) {
  const TUnit& unit = LoadUnit();
  if (!unit.Error.empty()) {
    state.SkipWithError(unit.Error.c_str());
    return;
  }
  std::vector<std::string> lines = unit.Lines;
  ravelin::TVornstrBfr buffer;
  for (auto _ : state) {
    Restart(buffer, lines);
    unsigned sum = 0;
    for (;;) {
      const char c = buffer.ReadChar();
      if (buffer.AtEof()) break;
      sum += static_cast<unsigned char>(c);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * unit.Bytes);
}
BENCHMARK(BM_BufferReadChar)->Unit(benchmark::kMillisecond);

void BM_ByteLoop(benchmark::State& state) {
  const TUnit& unit = LoadUnit();
  if (!unit.Error.empty()) {
    state.SkipWithError(unit.Error.c_str());
    return;
  }
  for (auto _ : state) {
    std::int64_t visible = 0;
    for (const auto& line : unit.Lines) {
      for (char c : line) visible += (c > ' ');
      benchmark::DoNotOptimize(visible);
    }
    benchmark::DoNotOptimize(visible);
  }
  state.SetBytesProcessed(state.iterations() * unit.Bytes);
}
BENCHMARK(BM_ByteLoop)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
