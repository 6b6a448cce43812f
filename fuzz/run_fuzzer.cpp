// A whole run on a folder built from the fuzz input, checked against a plain
// model of what a run must do: the same log, summary, bar positions and
// pointer, and the same output bytes. Also checked: the counts add up on a
// normal end, the pointer is back to default on every path, the sources are
// untouched, nothing is made but ExportN outputs, and each file that gave no
// piece is reported with its whole text. Each input runs four times: as the
// programs run, cutting sources in their bytes where it can; for a front end
// that wants every file's text and looks for near misses, which decodes
// every file whole and must show and make the same; as a dry run, which
// must show the same, name the same output, and make nothing; and, when the
// markers hold no metacharacter, with the markers as patterns, which must
// show and make the same. Then the input is spelled in a few HTML tokens
// (AsHtml) and run with --text, against a plain reference converter that
// knows only those tokens.
#include <stdlib.h>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "extraction/run.h"
#include "extraction/text/charset_detection.h"
#include "extraction/text/charset_labels.h"
#include "fuzz/fuzz_check.h"
#include "tests/support/icu_reference.h"
#include "window/bar_position.h"

namespace {

namespace stdfs = std::filesystem;
using vantrel::fuzz::Check;
using vantrel::testing::IcuFromUtf8;

// --- The input: inputs of the window and a folder's files. ---

struct PoolName {
  const char* name;
  const char* shown;  // as the log shows it, UTF-8
  bool folder;
};
constexpr PoolName kNames[] = {
    {"a.htm", "a.htm", false},
    {"B.HTM", "B.HTM", false},
    {"c.Htm", "c.Htm", false},
    {"d.txt", "d.txt", false},
    {"e.htm.bak", "e.htm.bak", false},
    {"\xFF.htm", "\xEF\xBF\xBD.htm", false},
    {"new\nline.htm", "new\xEF\xBF\xBDline.htm", false},
    {".htm", ".htm", false},
    {"noext", "noext", false},
    {"x.t", "x.t", false},
    {"Y.T", "Y.T", false},
    {"Export1.htm", "Export1.htm", false},
    {"Export1", "Export1", false},
    {"Export1.t", "Export1.t", false},
    {"Export2.HTM", "Export2.HTM", false},
    {"sub.htm", "sub.htm", true},
};
constexpr const char* kExtensions[] = {"htm", "HTM", "t", ""};

class Reader {
 public:
  Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return size_ == 0; }
  uint8_t Byte() {
    if (size_ == 0) return 0;
    --size_;
    return *data_++;
  }
  std::string Bytes(size_t n) {
    n = std::min(n, size_);
    std::string out(reinterpret_cast<const char*>(data_), n);
    data_ += n;
    size_ -= n;
    return out;
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

struct Entry {
  std::string content;
  bool folder = false;
};

struct Case {
  bool separate = false;
  bool utf8_html = false;  // AsHtml begins every file with a UTF-8 signature
  std::string extension;
  std::string start, end;  // UTF-8
  std::map<std::string, Entry> entries;
};

Case Parse(const uint8_t* data, size_t size) {
  Reader in(data, size);
  Case c;
  const uint8_t flags = in.Byte();
  c.separate = flags & 1;
  c.utf8_html = flags & 8;
  c.extension = kExtensions[(flags >> 1) % 4];
  c.start = in.Bytes(in.Byte() % 24);
  c.end = in.Bytes(in.Byte() % 24);
  for (int files = 0; files < 6 && !in.empty(); ++files) {
    const PoolName& name = kNames[in.Byte() % std::size(kNames)];
    const size_t length = ((in.Byte() << 8) | in.Byte()) % 4096;
    Entry entry{in.Bytes(length), name.folder};
    c.entries[name.name] = entry;
  }
  return c;
}

// The tokens that AsHtml spells a case in. No token is the start of
// another, and every character that may begin a marker's match (a letter, a
// space, "<", "&", the lead byte) begins a token wherever it stands: a
// marker made of tokens matches only whole tokens, so that every piece is
// whole tokens too, and neither begins nor ends inside a tag.
constexpr const char* kHtmlTokens[] = {"x",   "y",    "z",     " ",
                                       "\n",  "<p>",  "</p>",  "<br>",
                                       "<b>", "</b>", "&amp;", "\xD9\x85"};

std::string SpelledInHtml(std::string_view bytes) {
  std::string html;
  for (const unsigned char byte : bytes) {
    html += kHtmlTokens[byte % std::size(kHtmlTokens)];
  }
  return html;
}

// The case with its markers and files spelled in HTML tokens, each file
// begun with a UTF-8 signature or read as windows-1256, into one collected
// output.
Case AsHtml(const Case& c) {
  Case html = c;
  html.separate = false;
  html.start = SpelledInHtml(c.start);
  html.end = SpelledInHtml(c.end);
  for (auto& [name, entry] : html.entries) {
    if (entry.folder) continue;
    entry.content =
        (c.utf8_html ? "\xEF\xBB\xBF" : "") + SpelledInHtml(entry.content);
  }
  return html;
}

// The text of a piece made of kHtmlTokens, as html_to_text.h would give it:
// p elements set off by a blank line, br ending a line, b adding nothing,
// the entity decoded, white space collapsed and trimmed.
std::string ReferenceText(std::string_view html) {
  std::string text;
  int breaks = 0;  // line breaks before the next text
  bool space = false;
  const auto put = [&](std::string_view word) {
    if (!text.empty()) {
      if (breaks > 0) {
        text.append(static_cast<size_t>(breaks), '\n');
      } else if (space) {
        text += ' ';
      }
    }
    breaks = 0;
    space = false;
    text += word;
  };
  while (!html.empty()) {
    size_t length = 1;
    if (html.starts_with("<p>") || html.starts_with("</p>")) {
      breaks = std::max(breaks, 2);
      space = false;
      length = html[1] == '/' ? 4 : 3;
    } else if (html.starts_with("<br>")) {
      if (!text.empty()) ++breaks;
      space = false;
      length = 4;
    } else if (html.starts_with("<b>") || html.starts_with("</b>")) {
      length = html[1] == '/' ? 4 : 3;
    } else if (html.starts_with("&amp;")) {
      put("&");
      length = 5;
    } else if (html[0] == ' ' || html[0] == '\n') {
      space = true;
    } else {
      put(html.substr(0, 1));
    }
    html.remove_prefix(length);
  }
  return text;
}

// --- What the run shows, recorded. ---

struct Report {
  vantrel::FileOutcome outcome;
  std::u16string text, piece;  // the piece as the text shows it, if given
};

// The run's events as the window shows them (window/form1.cpp): its log,
// summary, bar and pointer.
class FuzzWindow : public vantrel::RunSink {
 public:
  explicit FuzzWindow(bool wants_texts) : wants_texts_(wants_texts) {}
  bool WantsFileTexts() const override { return wants_texts_; }
  void FileExamined(const vantrel::FileReport& report) override {
    const vantrel::CutResult& cut = report.cut;
    const bool has_piece =
        cut.outcome == vantrel::FileOutcome::kExtracted && !report.text.empty();
    reports.push_back({cut.outcome, std::u16string(report.text),
                       has_piece ? std::u16string(report.text.substr(
                                       cut.piece.begin, cut.piece.size()))
                                 : u""});
  }
  void Started() override {
    events.insert(events.end(),
                  {u"bar 130", u"summary ", u"clear log", u"busy"});
  }
  void Logged(const vantrel::LogEntry& entry) override {
    events.push_back(u"log " + vantrel::LogLine(entry) + u"\r\n");
  }
  void PieceWritten(std::int64_t done, std::int64_t total) override {
    events.push_back(u"bar " + Num(vantrel::window::BarX2(done, total)));
    events.push_back(u"redraw bar");
    events.push_back(u"redraw log");
  }
  void Finished(const vantrel::RunResult& result) override {
    if (result.end != vantrel::RunResult::End::kErrorTrap) {
      events.push_back(u"summary " + result.summary);
      events.push_back(u"bar 3400");
    }
    events.push_back(u"default");
  }
  static std::u16string Num(long long n) {
    const std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
  }
  std::vector<std::u16string> events;
  std::vector<Report> reports;

 private:
  bool wants_texts_;
};

// --- The model. ---

std::u16string Utf8(std::string_view bytes) {
  return IcuFromUtf8(bytes).value();
}

std::string WithConverter(const char* name, std::u16string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(name, &status);
  std::string out(text.size() * 4 + 4, '\0');
  const int32_t n =
      ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                      text.data(), static_cast<int32_t>(text.size()), &status);
  ucnv_close(converter);
  Check(U_SUCCESS(status), "encode");
  out.resize(static_cast<size_t>(n));
  return out;
}

std::u16string FromConverter(const char* name, std::string_view bytes) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open(name, &status);
  std::u16string out(bytes.size() + 1, u'\0');
  const int32_t n =
      ucnv_toUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                    bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  ucnv_close(converter);
  Check(U_SUCCESS(status), "decode");
  out.resize(static_cast<size_t>(n));
  return out;
}

std::string Charset(const std::string& bytes) {
  if (bytes.starts_with("\xFF\xFE")) return "unicode";
  if (bytes.starts_with("\xFE\xFF")) return "utf-16";
  if (bytes.starts_with("\xEF\xBB\xBF")) return "utf-8";
  return "windows-1256";
}

// The model's name of the charset that the engine decided for a file of a
// --charset detect run; the model decodes it on its own.
std::string DetectedCharset(const std::string& bytes) {
  const std::string name = vantrel::DecideSourceCharset(bytes).name;
  if (name == "UTF-8") return "utf-8";
  if (name == "UTF-16LE") return "unicode";
  if (name == "UTF-16BE") return "utf-16";
  // Decoded as web browsers decode it: EUC-KR as windows-949, Shift_JIS as
  // windows-31j.
  return std::string(vantrel::ConverterOf(name));
}

std::u16string Decode(std::string bytes, const std::string& charset) {
  if (charset != "utf-8" && charset != "unicode" && charset != "utf-16") {
    return FromConverter(charset.c_str(), bytes);
  }
  if (charset == "utf-8") {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
    return Utf8(bytes);
  }
  const bool little = charset == "unicode";
  if (bytes.starts_with(little ? "\xFF\xFE" : "\xFE\xFF")) bytes.erase(0, 2);
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const unsigned a = static_cast<uint8_t>(bytes[i]);
    const unsigned b = static_cast<uint8_t>(bytes[i + 1]);
    text.push_back(static_cast<char16_t>(little ? a | b << 8 : b | a << 8));
  }
  if (bytes.size() % 2) text.push_back(0xFFFD);
  return text;
}

// Unit by unit: unpaired surrogates of a UTF-16 source are written back as
// they came (ICU's converter would replace them).
std::string Utf16Le(std::u16string_view text) {
  std::string out;
  for (char16_t unit : text) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
  }
  return out;
}

size_t Find(std::u16string_view text, std::u16string_view marker) {
  if (text.empty()) return 0;
  for (size_t at = 0; at + marker.size() <= text.size(); ++at) {
    if (text.substr(at, marker.size()) == marker) return at + 1;
  }
  return 0;
}

std::string Lower(std::string s) {
  for (char& ch : s) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return s;
}

// Whether an entry of the kind (a folder, or not) holds `name` in any
// letter case, as the output-name search asks.
bool TakenInAnyCase(const Case& c, const std::string& name, bool folder) {
  for (const auto& [entry_name, entry] : c.entries) {
    if (entry.folder == folder && Lower(entry_name) == Lower(name)) return true;
  }
  return false;
}

std::u16string Shown(const std::string& name) {
  for (const PoolName& p : kNames) {
    if (name == p.name) return Utf8(p.shown);
  }
  return u"?";
}

struct Expected {
  std::vector<std::u16string> events;
  std::vector<Report> reports;  // every file's whole text and piece
  std::map<std::string, std::string> outputs;  // relative path to bytes
  int matching = 0, failures = 0, successes = 0;
  bool trapped = false;
};

// What a run on the case must show and make; with `text_run`, as a run with
// --text on a case of kHtmlTokens (without separate files).
Expected Model(const Case& c, const std::string& folder, bool detect = false,
               bool text_run = false) {
  Expected e;
  auto& ev = e.events;
  ev = {u"bar 130", u"summary ", u"clear log", u"busy"};
  const auto finish = [&] {
    ev.push_back(u"summary " + FuzzWindow::Num(e.matching) + u" checked, " +
                 FuzzWindow::Num(e.failures) + u" didn't find.");
    ev.push_back(u"bar 3400");
    ev.push_back(u"default");
  };
  if (c.extension.empty()) {
    ev.push_back(u"log Didn't find extension.\r\n");
    finish();
    return e;
  }
  std::vector<std::string> matching;
  for (const auto& [name, entry] : c.entries) {
    const size_t dot = name.rfind('.');
    if (entry.folder || dot == std::string::npos) continue;
    if (Lower(name.substr(dot + 1)) == Lower(c.extension)) {
      matching.push_back(name);
    }
  }
  std::sort(matching.begin(), matching.end(),
            [](const std::string& a, const std::string& b) {
              return Lower(a) != Lower(b) ? Lower(a) < Lower(b) : a < b;
            });
  e.matching = static_cast<int>(matching.size());

  const std::u16string start = Utf8(c.start), end = Utf8(c.end);
  std::string charset, output_folder, output_file;
  for (const std::string& name : matching) {
    const std::string& bytes = c.entries.at(name).content;
    if (detect) {
      charset = DetectedCharset(bytes);
    } else if (charset.empty()) {
      charset = Charset(bytes);
    }
    const std::u16string text = Decode(bytes, charset);
    e.reports.push_back({vantrel::FileOutcome::kExtracted, text, u""});
    size_t s = 0, t = 0;
    std::u16string_view rest;
    if (text.empty()) {
      e.reports.back().outcome = vantrel::FileOutcome::kCantRead;
      ++e.failures;
      ev.push_back(u"log Can't read: " + Shown(name) + u"\r\n");
    } else if ((s = Find(text, start)) == 0) {
      e.reports.back().outcome = vantrel::FileOutcome::kNoStart;
      ++e.failures;
      ev.push_back(u"log Haven't start: " + Shown(name) + u"\r\n");
    } else if (rest = std::u16string_view(text).substr(s - 1 + start.size()),
               (t = Find(rest, end)) == 0) {
      e.reports.back().outcome = vantrel::FileOutcome::kNoEnd;
      ++e.failures;
      ev.push_back(u"log Haven't end: " + Shown(name) + u"\r\n");
    } else {
      const std::u16string_view piece = rest.substr(0, t - 1);
      e.reports.back().piece = piece;
      const bool utf16 = detect || charset != "windows-1256";
      const std::string signature = utf16 ? "\xFF\xFE" : "";
      const std::string bytes_out =
          utf16 ? Utf16Le(piece) : WithConverter("windows-1256", piece);
      if (text_run) {
        // ExportN.txt, UTF-8 without signature, a blank line between two
        // texts that are not empty.
        if (output_file.empty()) {
          for (int n = 1;; ++n) {
            output_file = "Export" + std::to_string(n) + ".txt";
            if (!TakenInAnyCase(c, output_file, false)) break;
          }
        }
        std::string& out = e.outputs[output_file];
        const std::string text = ReferenceText(WithConverter("utf-8", piece));
        if (!out.empty() && !text.empty()) out += "\n\n";
        out += text;
      } else if (c.separate) {
        if (output_folder.empty()) {
          for (int n = 1;; ++n) {
            output_folder = "Export" + std::to_string(n);
            // A folder of the name in any letter case holds the number up.
            if (TakenInAnyCase(c, output_folder, true)) continue;
            const auto it = c.entries.find(output_folder);
            if (it == c.entries.end()) break;
            // Anything else of the name: the folder cannot be made.
            e.trapped = true;
            const std::string description = "cannot create folder " + folder +
                                            "/" + output_folder +
                                            ": File exists";
            ev.push_back(u"log Unknown error occurred:\r\n");
            ev.push_back(u"log " + Utf8(description) + u"\r\n");
            ev.push_back(u"default");
            return e;
          }
        }
        e.outputs[output_folder + "/" + name] = signature + bytes_out;
      } else {
        if (output_file.empty()) {
          for (int n = 1;; ++n) {
            output_file = "Export" + std::to_string(n) + "." + c.extension;
            if (!TakenInAnyCase(c, output_file, false)) break;
          }
          e.outputs[output_file] = signature;
        }
        e.outputs[output_file] += bytes_out;
      }
      ++e.successes;
      const double n = (e.successes * 100.0 / e.matching) * 3270;
      ev.push_back(u"bar " + FuzzWindow::Num(
                                 130 + std::llround(std::nearbyint(n)) / 100));
      ev.push_back(u"redraw bar");
      ev.push_back(u"redraw log");
    }
  }
  finish();
  return e;
}

std::string ReadAll(const stdfs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Whether a marker means the same as a pattern: no character that a
// pattern gives a meaning of its own.
bool IsLiteral(std::string_view marker) {
  return marker.find_first_of("\\^$.|?*+()[]{}") == std::string_view::npos;
}

// What a run showed and made.
struct Outcome {
  std::vector<std::u16string> events;
  std::vector<Report> reports;
  vantrel::RunResult result;
  std::map<std::string, std::string> made;  // new files and their bytes
  int new_entries = 0;                      // new files and folders
};

// A run with `options` on `folder`, filled afresh from the case. Sources
// must come out untouched, and nothing be made but ExportN outputs.
Outcome RunOn(const Case& c, const std::string& folder,
              const vantrel::RunOptions& options, bool wants_texts,
              vantrel::CharsetPolicy charset = {}) {
  stdfs::remove_all(folder);
  stdfs::create_directory(folder);
  for (const auto& [name, entry] : c.entries) {
    if (entry.folder) {
      stdfs::create_directory(stdfs::path(folder) / name);
    } else {
      std::ofstream(stdfs::path(folder) / name, std::ios::binary)
          << entry.content;
    }
  }

  vantrel::RunInputs inputs;
  inputs.start_marker = Utf8(c.start);
  inputs.end_marker = Utf8(c.end);
  inputs.files.folder = std::u16string(folder.begin(), folder.end());
  inputs.files.extensions = {
      std::u16string(c.extension.begin(), c.extension.end())};
  inputs.files.charset = charset;
  inputs.separate = c.separate;
  FuzzWindow window(wants_texts);
  Outcome outcome;
  outcome.result = vantrel::RunExtraction(inputs, options, window);
  outcome.events = std::move(window.events);
  outcome.reports = std::move(window.reports);
  for (const auto& item : stdfs::recursive_directory_iterator(folder)) {
    const std::string relative = stdfs::relative(item.path(), folder).string();
    const auto source = c.entries.find(relative);
    if (source != c.entries.end()) {
      if (!source->second.folder) {
        Check(ReadAll(item.path()) == source->second.content, "source");
      }
      continue;
    }
    Check(relative.starts_with("Export"), "output name");
    ++outcome.new_entries;
    if (item.is_regular_file()) outcome.made[relative] = ReadAll(item.path());
  }
  return outcome;
}

void PrintFiles(const char* what,
                const std::map<std::string, std::string>& files) {
  for (const auto& [name, bytes] : files) {
    std::fprintf(stderr, "%s %s: %zu bytes\n", what, name.c_str(),
                 bytes.size());
    for (unsigned char ch : bytes) std::fprintf(stderr, "%02x", ch);
    std::fprintf(stderr, "\n");
  }
}

// The model's reports against a run's: every examined file in order, with
// its text where the run must give it (always for a file without a piece,
// and for every file when the front end wants texts).
void CheckReports(const Outcome& run, const Expected& expected,
                  bool wants_texts) {
  Check(run.reports.size() <= expected.reports.size(), "reports");
  for (size_t i = 0; i < run.reports.size(); ++i) {
    const Report& got = run.reports[i];
    const Report& model = expected.reports[i];
    Check(got.outcome == model.outcome, "reported outcome");
    if (wants_texts || model.outcome != vantrel::FileOutcome::kExtracted) {
      Check(got.text == model.text, "reported text");
    }
    if (!got.text.empty()) Check(got.piece == model.piece, "reported cut");
  }
  if (!expected.trapped) {
    Check(run.reports.size() == expected.reports.size(), "every file");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Case c = Parse(data, size);
  std::string folder = (stdfs::temp_directory_path() / "vantrel-fuzz-XXXXXX");
  Check(::mkdtemp(folder.data()) != nullptr, "mkdtemp");

  // The window's run, against the model.
  const Outcome run = RunOn(c, folder, {}, false);
  const Expected expected = Model(c, folder);
  Check(run.events == expected.events, "events");
  Check(run.events.back() == u"default", "pointer");
  Check((run.result.end == vantrel::RunResult::End::kErrorTrap) ==
            expected.trapped,
        "trap");
  if (run.result.end == vantrel::RunResult::End::kNormal) {
    Check(run.result.successes + run.result.failures == run.result.matching,
          "counts");
  }
  if (run.made != expected.outputs) {
    PrintFiles("made", run.made);
    PrintFiles("expected", expected.outputs);
  }
  Check(run.made == expected.outputs, "outputs");
  CheckReports(run, expected, false);

  // Every text decoded whole, and near misses looked for: nothing that a
  // run shows or makes changes.
  vantrel::RunOptions hints;
  hints.near_misses = true;
  const Outcome texts = RunOn(c, folder, hints, true);
  Check(texts.events == run.events && texts.made == run.made,
        "a run with every text and near misses");
  CheckReports(texts, expected, true);

  // Each file in the charset decided for it: the model decodes it on its
  // own, and the output is UTF-16LE.
  const Outcome detected =
      RunOn(c, folder, {}, true, vantrel::CharsetOfEachFile{});
  const Expected per_file = Model(c, folder, true);
  Check(detected.events == per_file.events, "a detect run's events");
  Check(detected.made == per_file.outputs, "a detect run's outputs");
  CheckReports(detected, per_file, true);

  // A dry run shows all that the run showed, names the output that it
  // made, and makes nothing.
  vantrel::RunOptions dry;
  dry.dry_run = true;
  const Outcome dry_run = RunOn(c, folder, dry, false);
  Check(dry_run.events == run.events, "a dry run's events");
  Check(dry_run.result.output == run.result.output, "a dry run's output");
  Check(dry_run.new_entries == 0, "a dry run makes nothing");

  // A pattern without metacharacters matches what the marker matches.
  if (IsLiteral(c.start) && IsLiteral(c.end)) {
    vantrel::RunOptions regex;
    regex.matching.regex = true;
    const Outcome patterns = RunOn(c, folder, regex, false);
    Check(patterns.events == run.events && patterns.made == run.made,
          "patterns without metacharacters");
  }

  // The case in HTML tokens, with --text: the same log as a plain run of
  // it, and each piece's text as the reference converter gives it.
  const Case html = AsHtml(c);
  vantrel::RunOptions text;
  text.transform = &vantrel::PlainTextTransform();
  const Outcome text_run = RunOn(html, folder, text, false);
  const Expected text_model = Model(html, folder, false, true);
  Check(text_run.events == text_model.events, "a text run's events");
  if (text_run.made != text_model.outputs) {
    PrintFiles("made", text_run.made);
    PrintFiles("expected", text_model.outputs);
  }
  Check(text_run.made == text_model.outputs, "a text run's output");

  stdfs::remove_all(folder);
  return 0;
}
