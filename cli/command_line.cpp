#include "cli/command_line.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>

#include "cli/completion.h"
#include "extraction/defaults.h"
#include "extraction/marker_check.h"
#include "extraction/text/charsets.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"
#include "vantrel_version.h"

namespace vantrel::cli {
namespace {

struct UsageError {
  std::string message;
};

std::u16string Utf8Argument(const std::string& what, const std::string& bytes) {
  auto text = StrictUtf8ToText(bytes);
  if (!text) throw UsageError{what + " is not valid UTF-8"};
  return *text;
}

// A marker file's or a text file's content, byte for byte, as text. Any
// file that can be read will do, a pipe from the shell's <(printf ...)
// included.
std::u16string FileText(const std::string& option, const std::string& path) {
  const auto cannot_read = [&] {
    return UsageError{option + ": cannot read " + path + ": " +
                      std::strerror(errno)};
  };
  errno = 0;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) throw cannot_read();
  std::string bytes;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    bytes.append(buffer, n);
  }
  if (std::ferror(file.get())) throw cannot_read();
  return Utf8Argument(option + " " + path, bytes);
}

// A marker from its two options. Only a marker given by neither option takes
// the default: an empty TEXT is an empty marker, and an empty FILE name is
// a file that cannot be read.
std::u16string Marker(const CLI::Option& text_option, const std::string& text,
                      const CLI::Option& file_option, const std::string& file,
                      std::u16string_view fallback) {
  if (file_option.count() > 0) return FileText(file_option.get_name(), file);
  if (text_option.count() > 0)
    return Utf8Argument(text_option.get_name(), text);
  return std::u16string(fallback);
}

// The extensions of --ext: one, or a comma-separated list of several, none
// of them empty. Spaces around a list's items go: "htm, html" is two.
std::vector<std::u16string> Extensions(const std::u16string& text) {
  if (text.find(u',') == std::u16string::npos) return {text};
  std::vector<std::u16string> extensions;
  std::size_t from = 0;
  for (;;) {
    const std::size_t comma = std::min(text.find(u',', from), text.size());
    std::u16string_view item(text.data() + from, comma - from);
    while (!item.empty() && item.front() == u' ') item.remove_prefix(1);
    while (!item.empty() && item.back() == u' ') item.remove_suffix(1);
    if (item.empty()) throw UsageError{"--ext: an empty extension in the list"};
    extensions.emplace_back(item);
    if (comma == text.size()) return extensions;
    from = comma + 1;
  }
}

// A marker that must compile as a pattern.
void CheckPattern(const std::string& option, std::u16string_view pattern,
                  bool ignore_case) {
  if (auto error = MarkerPatternError(pattern, ignore_case)) {
    throw UsageError{option + ": " + *error};
  }
}

// The names --charset takes: auto, detect, then each charset's.
std::vector<std::string> CharsetChoices() {
  std::vector<std::string> choices{"auto", "detect"};
  for (const CharsetNames& names : AllCharsetNames()) {
    choices.emplace_back(names.option_name);
  }
  return choices;
}

// Why an option of a run does not go with --suggest, which only reads the
// folder and prints what it found. Only the options that say what to read,
// how, and how to print are taken with it.
std::optional<std::string> NotWithSuggest(std::string_view option) {
  static constexpr std::string_view kTaken[] = {
      "--suggest",   "--around",  "--around-file", "--ext",
      "--recursive", "--charset", "--json"};
  static constexpr std::string_view kMarkerOptions[] = {
      "--start", "--start-file",  "--end",        "--end-file",
      "--regex", "--line-breaks", "--ignore-case"};
  static constexpr std::string_view kOutputOptions[] = {
      "--separate", "--dry-run", "--text", "--out-charset", "--jsonl"};
  if (std::ranges::find(kTaken, option) != std::end(kTaken)) {
    return std::nullopt;
  }
  std::string why = "makes no run";
  if (std::ranges::find(kMarkerOptions, option) != std::end(kMarkerOptions)) {
    why = "finds the markers itself";
  } else if (std::ranges::find(kOutputOptions, option) !=
             std::end(kOutputOptions)) {
    why = "writes nothing";
  }
  return std::string(option) + " does not go with --suggest, which " + why;
}

EarlyExit BadUsage(const std::string& message) {
  return {kExitUsage, "",
          "vantrel-cli: " + message + "\n" +
              "Run with --help for more information.\n"};
}

}  // namespace

std::variant<CliRequest, EarlyExit> ParseCommandLine(int argc,
                                                     const char* const* argv) {
  CLI::App app{
      "Extracts the text between a start marker and an end marker from every\n"
      "file with the given extension directly inside FOLDER (with\n"
      "--recursive, anywhere below it), into a new ExportN.<extension> in\n"
      "FOLDER (or, with --separate, a new folder ExportN with one file per\n"
      "source). With --suggest, finds the markers itself instead and prints\n"
      "them, each with the command line that runs it.\n",
      "vantrel-cli"};
  app.set_version_flag("--version",
                       std::string("vantrel-cli ") + VANTREL_VERSION_DISPLAY,
                       "Print the version and exit");

  CliRequest request;
  RunInputs& inputs = request.inputs;
  RunOptions& options = request.options;
  std::string start, start_file, end, end_file, folder;
  std::string extension = TextToUtf8(kDefaultExtension);
  auto* start_opt =
      app.add_option("--start", start,
                     "Start marker (UTF-8; '' is an empty marker, which "
                     "matches at the first character); default: the "
                     "window's two-line <Div id=\"E23\"> marker");
  auto* start_file_opt =
      app.add_option("--start-file", start_file,
                     "Read the start marker from FILE, byte for "
                     "byte (how to give CR LF line breaks)")
          ->type_name("FILE");
  start_opt->excludes(start_file_opt);
  auto* end_opt = app.add_option(
      "--end", end,
      "End marker (UTF-8; '' is an empty marker, which gives an empty "
      "piece); default: the window's </p></Div>");
  auto* end_file_opt =
      app.add_option("--end-file", end_file,
                     "Read the end marker from FILE, byte for byte")
          ->type_name("FILE");
  end_opt->excludes(end_file_opt);
  // Split by Extensions, not by CLI11's delimiter(','), which drops empty
  // items (bad usage here), keeps the spaces around an item and lets the
  // option take the arguments after it too.
  app.add_option("--ext", extension,
                 "Extension of the files to read, without a dot; several as "
                 "a comma-separated list (htm,html), the first naming the "
                 "collected file")
      ->type_name("EXT")
      ->capture_default_str();
  app.add_flag("--separate", inputs.separate,
               "One output file per source in a new folder ExportN");
  app.add_flag("--quiet", request.quiet,
               "Show no progress bar and no summary of near misses");
  std::string line_breaks = "exact", charset = "auto";
  app.add_flag("--explain", request.explain,
               "Below each file that gave no piece, tell why when a marker is "
               "nearly there (other line breaks, letter case, spacing, "
               "charset, the end marker only before the start marker)");
  app.add_option("--line-breaks", line_breaks,
                 "any: a line break in a marker (CR LF, LF or CR) matches any "
                 "line break of the text")
      ->transform(CLI::IsMember({"exact", "any"}, CLI::ignore_case))
      ->capture_default_str();
  app.add_flag("--ignore-case", options.matching.ignore_case,
               "Markers match whatever the letter case");
  // IsMember, not CheckedTransformer, which would show its mapping in the
  // help and in the message for a name it lacks.
  app.add_option("--charset", charset,
                 "Read every file in this charset; auto: the first file's "
                 "signature decides; detect: each file's own (signature, "
                 "UTF-8, UTF-16, meta charset, statistics, windows-1256), "
                 "output in UTF-16LE")
      ->transform(CLI::IsMember(CharsetChoices(), CLI::ignore_case))
      ->capture_default_str();
  app.add_flag("--regex", options.matching.regex,
               "Both markers are regular expressions (ICU's syntax); the "
               "piece is what lies between the two matches");
  app.add_flag("--recursive", options.recursive,
               "Read the files in sub-folders too, at any depth, in order of "
               "their path; with --separate, ExportN mirrors the tree");
  app.add_flag("--keep-going", options.keep_going,
               "Log a file or sub-folder that cannot be read, with the "
               "reason, and go on with the rest (exit status 2 at the end); "
               "without it, the first one ends the run");
  app.add_flag("--dry-run", options.dry_run,
               "Do everything but create or write anything; name the output "
               "a run would make");
  app.add_flag("--json", request.json,
               "JSON Lines on standard output instead of the log: one object "
               "per file, then a summary (implies --explain); with --suggest, "
               "one object per suggested pair, then a summary");
  app.add_flag("--text", options.html_to_text,
               "Write each piece as the plain text of its HTML, into "
               "ExportN.txt (with --separate, one .txt per source), UTF-8 "
               "unless --out-charset says otherwise");
  std::string out_charset;
  const std::string utf8(OutputFormatName(OutputFormat::kUtf8));
  const std::string utf16le(OutputFormatName(OutputFormat::kUtf16Le));
  app.add_option("--out-charset", out_charset,
                 "Write the output in " + utf8 + " (no signature) or " +
                     utf16le + " (with signature; the default without --text)")
      ->transform(CLI::IsMember({utf8, utf16le}, CLI::ignore_case));
  bool json_lines = false;
  auto* jsonl_opt =
      app.add_flag("--jsonl", json_lines,
                   "Write ExportN.jsonl, UTF-8: one JSON object per piece, "
                   "{\"file\":NAME,\"piece\":PIECE}");
  bool suggest = false;
  app.add_flag("--suggest", suggest,
               "Find the markers by comparing the pages of FOLDER (those "
               "that --ext, --recursive and --charset say a run would read) "
               "and print up to three pairs, best first, each with how many "
               "files it gives a piece on and the command line that runs "
               "it; writes nothing");
  std::string around, around_file;
  auto* around_opt =
      app.add_option("--around", around,
                     "With --suggest: markers around the element that holds "
                     "TEXT, some of the wanted text as a browser shows it "
                     "(UTF-8; spacing, entities and letter case may differ)")
          ->type_name("TEXT");
  auto* around_file_opt =
      app.add_option("--around-file", around_file,
                     "With --suggest: read the text for --around from FILE "
                     "(UTF-8)")
          ->type_name("FILE");
  around_opt->excludes(around_file_opt);
  app.add_option("FOLDER", folder, "Folder whose files are read")
      ->type_name("")
      ->required();
  app.footer(
      "Exit status: 0 every file gave a piece (with --suggest, markers were "
      "found); 1 an input was missing, no file had the extension, or a file "
      "gave no piece (with --suggest, no markers were found); 2 the run "
      "ended with an error, --keep-going passed over a file or folder, or "
      "standard output could not be written; 64 bad usage.");

  // `vantrel-cli --completion SHELL` prints the shell's completion script,
  // made from the options above; the build installs its output. It stays out
  // of the option table, so --help and the completions do not show it.
  if (argc == 3 && std::string_view(argv[1]) == "--completion") {
    if (auto script = CompletionScript(app, argv[2])) {
      return EarlyExit{kExitClean, *script, ""};
    }
    return BadUsage("--completion: the shell is bash, zsh or fish");
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() != 0) return BadUsage(e.what());
    // --help or --version.
    std::ostringstream out;
    app.exit(e, out);
    return EarlyExit{kExitClean, out.str(), ""};
  }

  try {
    // What does not go with --suggest is told before any file is read.
    for (const CLI::Option* option : app.get_options()) {
      if (option->count() == 0 || option->get_positional()) continue;
      if (!suggest) {
        if (option == around_opt || option == around_file_opt) {
          throw UsageError{option->get_name() + " goes only with --suggest"};
        }
      } else if (auto refusal = NotWithSuggest(option->get_name())) {
        throw UsageError{*refusal};
      }
    }
    inputs.start_marker = Marker(*start_opt, start, *start_file_opt, start_file,
                                 kDefaultStartMarker);
    inputs.end_marker =
        Marker(*end_opt, end, *end_file_opt, end_file, kDefaultEndMarker);
    const auto extensions = Extensions(Utf8Argument("--ext", extension));
    inputs.extension = extensions.front();
    inputs.more_extensions.assign(extensions.begin() + 1, extensions.end());
    options.matching.line_breaks_any = line_breaks == "any";
    if (options.matching.regex) {
      if (options.matching.line_breaks_any) {
        throw UsageError{
            "--line-breaks any does not go with --regex: a pattern says "
            "how it takes line breaks (\\R matches any)"};
      }
      const bool ignore_case = options.matching.ignore_case;
      CheckPattern(start_file_opt->count() > 0 ? "--start-file" : "--start",
                   inputs.start_marker, ignore_case);
      CheckPattern(end_file_opt->count() > 0 ? "--end-file" : "--end",
                   inputs.end_marker, ignore_case);
    }
    if (jsonl_opt->count() > 0 && inputs.separate) {
      throw UsageError{
          "--jsonl writes one file and does not go with --separate"};
    }
    if (jsonl_opt->count() > 0 && out_charset == utf16le) {
      throw UsageError{"--out-charset " + utf16le +
                       " does not go with --jsonl, which writes " + utf8};
    }
    if (suggest) {
      SuggestionRequest& suggestion = request.suggestion.emplace();
      suggestion.extension = inputs.extension;
      suggestion.more_extensions = inputs.more_extensions;
      if (around_file_opt->count() > 0) {
        suggestion.around = FileText(around_file_opt->get_name(), around_file);
      } else if (around_opt->count() > 0) {
        suggestion.around = Utf8Argument("--around", around);
      }
      // An empty text is on every page and marks out nothing.
      for (const CLI::Option* option : {around_opt, around_file_opt}) {
        if (option->count() > 0 && suggestion.around.empty()) {
          throw UsageError{option->get_name() +
                           ": the text to suggest around is empty"};
        }
      }
    }
  } catch (const UsageError& e) {
    return BadUsage(e.message);
  }
  options.output.json_lines = json_lines;
  if (!out_charset.empty()) {
    options.output.format =
        out_charset == utf8 ? OutputFormat::kUtf8 : OutputFormat::kUtf16Le;
  }
  inputs.folder = NativeToText(folder);
  options.charset = CharsetWithOptionName(charset);
  options.detect_charset = charset == "detect";
  request.explain |= request.json;
  // Near misses are looked for when someone will hear of them.
  options.near_misses = request.explain || !request.quiet;
  request.progress = !request.quiet && ::isatty(STDERR_FILENO) == 1;
  if (request.suggestion) {
    SuggestionRequest& suggestion = *request.suggestion;
    suggestion.folder = inputs.folder;
    suggestion.recursive = options.recursive;
    suggestion.charset = options.charset;
    suggestion.detect_charset = options.detect_charset;
  }
  return request;
}

}  // namespace vantrel::cli
