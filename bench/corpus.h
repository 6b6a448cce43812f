// Folders of saved pages for measuring runs: the kind of folder users point
// Vantrel at, made up from a seed so that every measurement can be repeated
// on the same bytes.
//
// Each page is an Arabic web page with CR LF line breaks whose body text
// stands between the window's default markers. About one page in fifty was
// saved by another editor and closes its body with a lower-case </div>, so it
// lacks the end marker; the folder also holds style sheets, scripts and
// pictures that a run passes over.
#ifndef VANTREL_BENCH_CORPUS_H_
#define VANTREL_BENCH_CORPUS_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::bench {

// How the pages are stored; each but windows-1256 begins with its signature.
enum class Encoding { kUtf8, kWindows1256, kUtf16Le, kUtf16Be };

// The encoding of a name: utf-8, windows-1256, utf-16le or utf-16be.
std::optional<Encoding> EncodingNamed(std::string_view name);
std::string_view EncodingName(Encoding encoding);

struct CorpusSpec {
  int pages = 100;                 // files with the page extension
  std::size_t page_bytes = 20000;  // about this many bytes each
  Encoding encoding = Encoding::kUtf8;
  // The encoding in which page_bytes is counted; by default the pages' own.
  // Counting in another one gives the same pages as a corpus in that
  // encoding, only stored differently.
  std::optional<Encoding> sized_in;
  std::uint64_t seed = 1;
  // One page in this many lacks the end marker (0: none does).
  int missing_end_every = 50;
  // One file of another extension per this many pages (0: none).
  int other_file_every = 20;
  std::string extension = "htm";
};

struct CorpusStats {
  int pages = 0;
  int pages_without_end = 0;
  int other_files = 0;
  std::uint64_t page_bytes = 0;  // all pages together
  std::uint64_t other_bytes = 0;
  std::uint64_t largest_page = 0;
};

// The text of page `index` of a corpus (without a signature). Pages depend
// only on the seed and their index, never on the other pages.
std::u16string PageText(const CorpusSpec& spec, int index);

// Whether page `index` lacks the end marker.
bool LacksEndMarker(const CorpusSpec& spec, int index);

// `text` stored in the encoding, signature first.
std::string EncodePage(std::u16string_view text, Encoding encoding);

// Writes the corpus into `folder` (made when missing) and tells what it
// holds.
CorpusStats WriteCorpus(const CorpusSpec& spec,
                        const std::filesystem::path& folder);

}  // namespace vantrel::bench

#endif  // VANTREL_BENCH_CORPUS_H_
