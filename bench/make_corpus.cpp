// vantrel-make-corpus: writes a folder of made-up saved pages to run Vantrel
// on, the same bytes for the same options.
#include <CLI/CLI.hpp>
#include <iostream>

#include "bench/corpus.h"

int main(int argc, char** argv) {
  namespace vb = vantrel::bench;
  CLI::App app{
      "Writes COUNT made-up saved pages, each about SIZE bytes, with the "
      "window's default markers around their body text, into FOLDER.",
      "vantrel-make-corpus"};
  vb::CorpusSpec spec;
  std::string encoding = "utf-8", sized_in, folder;
  app.add_option("--count", spec.pages, "Number of pages")
      ->capture_default_str()
      ->check(CLI::NonNegativeNumber);
  app.add_option("--size", spec.page_bytes, "Bytes per page, about")
      ->capture_default_str();
  app.add_option("--encoding", encoding,
                 "utf-8 (with signature), windows-1256, utf-16le or utf-16be "
                 "(with signature)")
      ->capture_default_str();
  app.add_option("--sized-in", sized_in,
                 "Count --size in this encoding instead, to store the same "
                 "pages in another encoding");
  app.add_option("--seed", spec.seed, "Seed")->capture_default_str();
  app.add_option("--missing-end-every", spec.missing_end_every,
                 "One page in this many lacks the end marker (0: none)")
      ->capture_default_str();
  app.add_option("--other-every", spec.other_file_every,
                 "One file of another extension per this many pages (0: none)")
      ->capture_default_str();
  app.add_option("--ext", spec.extension, "Extension of the pages")
      ->capture_default_str();
  app.add_option("FOLDER", folder, "Folder to write into")->required();
  CLI11_PARSE(app, argc, argv);

  const auto stored = vb::EncodingNamed(encoding);
  const auto sized = sized_in.empty() ? stored : vb::EncodingNamed(sized_in);
  if (!stored || !sized) {
    std::cerr << "vantrel-make-corpus: unknown encoding\n";
    return 64;
  }
  spec.encoding = *stored;
  spec.sized_in = *sized;
  try {
    const vb::CorpusStats stats = vb::WriteCorpus(spec, folder);
    std::cout << stats.pages << " pages (" << stats.page_bytes << " bytes, "
              << stats.pages_without_end << " without the end marker), "
              << stats.other_files << " other files (" << stats.other_bytes
              << " bytes) in " << folder << '\n';
  } catch (const std::exception& e) {
    std::cerr << "vantrel-make-corpus: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
