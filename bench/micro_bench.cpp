// vantrel-microbench: the engine's inner loops on one large made-up page,
// one charset or marker at a time, so that a change to one of them can be
// judged on its own.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/corpus.h"
#include "extraction/defaults.h"
#include "extraction/match/marker_search.h"
#include "extraction/run.h"
#include "extraction/sys/operation_seam.h"
#include "extraction/text/charsets.h"
#include "extraction/text/text.h"

namespace vantrel::bench {
namespace {

// A 2 MB page of corpus B, as text.
const std::u16string& LargePage() {
  static const std::u16string page = [] {
    CorpusSpec spec;
    spec.page_bytes = 2000000;
    spec.missing_end_every = 0;
    return PageText(spec, 0);
  }();
  return page;
}

void BM_DecodeText(benchmark::State& state, Encoding encoding,
                   Charset charset) {
  const std::string bytes = EncodePage(LargePage(), encoding);
  std::u16string text;
  for (auto _ : state) {
    DecodeText(bytes, charset, text);
    benchmark::DoNotOptimize(text.data());
  }
  if (text != LargePage()) state.SkipWithError("decoded text differs");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(bytes.size()));
}
BENCHMARK_CAPTURE(BM_DecodeText, utf8, Encoding::kUtf8, Charset::kUtf8);
BENCHMARK_CAPTURE(BM_DecodeText, windows1256, Encoding::kWindows1256,
                  Charset::kWindows1256);
BENCHMARK_CAPTURE(BM_DecodeText, utf16le, Encoding::kUtf16Le,
                  Charset::kUtf16Le);
BENCHMARK_CAPTURE(BM_DecodeText, utf16be, Encoding::kUtf16Be,
                  Charset::kUtf16Be);

// The run's two searches: the start marker in the whole text, then the end
// marker behind it. Bytes counted are those of the text looked through.
void BM_FindMarkers(benchmark::State& state) {
  const std::u16string_view text = LargePage();
  std::size_t looked_through = 0;
  for (auto _ : state) {
    const auto start = FindMarker(text, kDefaultStartMarker);
    const auto end = FindMarker(text.substr(start->end), kDefaultEndMarker);
    benchmark::DoNotOptimize(end);
    looked_through = start->end + end->end;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(looked_through * 2));
}
BENCHMARK(BM_FindMarkers);

// A marker that is not there: the whole text is looked through.
void BM_FindAbsentMarker(benchmark::State& state) {
  const std::u16string_view text = LargePage();
  const std::u16string_view marker = u"<Div id=\"E99\">";
  for (auto _ : state) {
    benchmark::DoNotOptimize(FindMarker(text, marker));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size() * 2));
}
BENCHMARK(BM_FindAbsentMarker);

// The same search through the standard library, to compare with.
void BM_StandardFindAbsentMarker(benchmark::State& state) {
  const std::u16string_view text = LargePage();
  const std::u16string_view marker = u"<Div id=\"E99\">";
  for (auto _ : state) {
    benchmark::DoNotOptimize(text.find(marker));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size() * 2));
}
BENCHMARK(BM_StandardFindAbsentMarker);

void BM_EncodeText(benchmark::State& state, OutputFormat format) {
  const std::u16string_view text = LargePage();
  std::string bytes;
  for (auto _ : state) {
    bytes.clear();
    EncodeText(text, format, bytes);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size() * 2));
}
BENCHMARK_CAPTURE(BM_EncodeText, utf16le, OutputFormat::kUtf16Le);
BENCHMARK_CAPTURE(BM_EncodeText, windows1256, OutputFormat::kWindows1256);

// The system calls one more extracted file costs, by kind: on a machine
// where a call costs microseconds they are most of a run's time. Expected:
// for the source an open, fstat, read and close; for the output an open,
// fstat, write and close (in separated mode no fstat and a second write, for
// the signature). Pages of 10 bytes, of more than any first buffer, and of
// pieces decoded in two halves.
std::atomic<int> g_calls[std::size(fs::kOperations)];

int CountCall(fs::Operation operation, const std::filesystem::path&) {
  ++g_calls[static_cast<std::size_t>(operation)];
  return 0;
}

void BM_SystemCallsPerFile(benchmark::State& state) {
  const bool separate = state.range(0) != 0;
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = std::string(tmp != nullptr && *tmp != 0 ? tmp : "/tmp") +
                       "/vantrel-microbench-XXXXXX";
  if (::mkdtemp(folder.data()) == nullptr)
    return state.SkipWithError("mkdtemp");
  const std::string page =
      "\xEF\xBB\xBF[" + std::string(state.range(1), 'x') + "]";
  RunInputs inputs;
  inputs.start_marker = u"[";
  inputs.end_marker = u"]";
  inputs.files.folder = Utf8ToText(folder);
  inputs.files.extensions = {u"htm"};
  inputs.separate = separate;
  RunSink quiet;
  // The calls of a run over `pages` pages.
  const auto run_over = [&](int pages) {
    for (int i = 0; i < pages; ++i) {
      std::ofstream(folder + "/p" + std::to_string(i) + ".htm") << page;
    }
    for (auto& calls : g_calls) calls = 0;
    fs::SetOperationHook(&CountCall);
    RunExtraction(inputs, {}, quiet);
    fs::SetOperationHook(nullptr);
    std::filesystem::remove_all(folder +
                                (separate ? "/Export1" : "/Export1.htm"));
    std::vector<int> calls(std::begin(g_calls), std::end(g_calls));
    return calls;
  };
  std::vector<int> three, five;
  for (auto _ : state) {
    three = run_over(3);
    five = run_over(5);
    std::filesystem::remove(folder + "/p3.htm");
    std::filesystem::remove(folder + "/p4.htm");
  }
  std::filesystem::remove_all(folder);
  for (const auto& [operation, name] : fs::kOperations) {
    const auto i = static_cast<std::size_t>(operation);
    state.counters[std::string(name)] = (five[i] - three[i]) / 2.0;
  }
}
BENCHMARK(BM_SystemCallsPerFile)
    ->ArgNames({"separate", "page"})
    ->ArgsProduct({{0, 1}, {10, 300000, 1500000}})
    ->Iterations(1);

}  // namespace
}  // namespace vantrel::bench

BENCHMARK_MAIN();
