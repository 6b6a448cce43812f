// The made-up corpora must be what the benchmark says they are: pages of
// about the asked size, in the asked encoding, with the markers where a run
// looks for them.
#include "bench/corpus.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "extraction/defaults.h"
#include "extraction/text/charsets.h"
#include "tests/support/temp_folder.h"

namespace vantrel::bench {
namespace {

TEST(CorpusTest, EachEncodingStoresThePageTheRunWillRead) {
  CorpusSpec spec;
  const std::u16string text = PageText(spec, 3);
  const struct {
    Encoding encoding;
    Charset charset;  // what the run detects
  } cases[] = {
      {Encoding::kUtf8, Charset::kUtf8},
      {Encoding::kWindows1256, Charset::kWindows1256},
      {Encoding::kUtf16Le, Charset::kUtf16Le},
      {Encoding::kUtf16Be, Charset::kUtf16Be},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(EncodingName(c.encoding));
    const std::string bytes = EncodePage(text, c.encoding);
    EXPECT_EQ(DetectCharset(bytes), c.charset);
    std::u16string decoded;
    DecodeText(bytes, c.charset, decoded);
    EXPECT_EQ(decoded, text);
    EXPECT_EQ(EncodingNamed(EncodingName(c.encoding)), c.encoding);
  }
  EXPECT_EQ(EncodingNamed("utf8"), std::nullopt);
}

TEST(CorpusTest, PagesHaveTheMarkersAndAboutTheAskedSize) {
  for (const std::size_t size : {20000u, 2000000u}) {
    CorpusSpec spec;
    spec.page_bytes = size;
    int without_end = 0;
    for (int i = 0; i < 60; ++i) {
      const std::u16string text = PageText(spec, i);
      const std::size_t bytes = EncodePage(text, spec.encoding).size();
      EXPECT_GT(bytes, size * 9 / 10);
      EXPECT_LT(bytes, size * 11 / 10);

      const std::size_t start = text.find(kDefaultStartMarker);
      ASSERT_NE(start, std::u16string::npos);
      EXPECT_EQ(text.find(kDefaultStartMarker, start + 1),
                std::u16string::npos);
      // An end marker stands before the start marker, for a run to pass
      // over, and one behind it unless the page lacks it.
      EXPECT_LT(text.find(kDefaultEndMarker), start);
      const bool has_end =
          text.find(kDefaultEndMarker, start) != std::u16string::npos;
      EXPECT_EQ(has_end, !LacksEndMarker(spec, i));
      without_end += has_end ? 0 : 1;
      if (size > 20000) break;  // one large page is enough
    }
    if (size == 20000) {
      EXPECT_GE(without_end, 1);
      EXPECT_LE(without_end, 5);
    }
  }
}

TEST(CorpusTest, TheSameSeedGivesTheSamePagesInAnyEncoding) {
  CorpusSpec utf8;
  CorpusSpec utf16 = utf8;
  utf16.encoding = Encoding::kUtf16Le;
  utf16.sized_in = Encoding::kUtf8;
  CorpusSpec other_seed = utf8;
  other_seed.seed = 2;
  EXPECT_EQ(PageText(utf8, 7), PageText(utf8, 7));
  EXPECT_NE(PageText(utf8, 7), PageText(utf8, 8));
  EXPECT_NE(PageText(utf8, 7), PageText(other_seed, 7));
  // Only the charset named in the page's head differs.
  std::u16string a = PageText(utf8, 7), d = PageText(utf16, 7);
  a.replace(a.find(u"utf-8"), 5, u"utf-16le");
  EXPECT_EQ(a, d);
}

TEST(CorpusTest, WriteCorpusCountsWhatItWrote) {
  testing::TempFolder folder;
  CorpusSpec spec;
  spec.pages = 40;
  spec.page_bytes = 3000;
  const CorpusStats stats = WriteCorpus(spec, folder.path());
  int pages = 0, others = 0;
  std::uint64_t page_bytes = 0, largest = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".htm" || ext == ".HTM") {
      ++pages;
      page_bytes += entry.file_size();
      largest = std::max<std::uint64_t>(largest, entry.file_size());
    } else {
      ++others;
    }
  }
  EXPECT_EQ(stats.pages, 40);
  EXPECT_EQ(pages, 40);
  EXPECT_EQ(stats.other_files, 2);
  EXPECT_EQ(others, 2);
  EXPECT_EQ(stats.page_bytes, page_bytes);
  EXPECT_EQ(stats.largest_page, largest);
  int without_end = 0;
  for (int i = 0; i < 40; ++i) without_end += LacksEndMarker(spec, i);
  EXPECT_EQ(stats.pages_without_end, without_end);
}

}  // namespace
}  // namespace vantrel::bench
