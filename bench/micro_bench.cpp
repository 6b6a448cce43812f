// vantrel-microbench: the engine's inner loops on one large made-up page,
// one charset or marker at a time, so that a change to one of them can be
// judged on its own.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/corpus.h"
#include "extraction/defaults.h"
#include "extraction/match/marker_search.h"
#include "extraction/text/charsets.h"

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
                  Charset::kUnicode);
BENCHMARK_CAPTURE(BM_DecodeText, utf16be, Encoding::kUtf16Be, Charset::kUtf16);

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

}  // namespace
}  // namespace vantrel::bench

BENCHMARK_MAIN();
