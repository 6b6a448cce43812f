#include "cli/command_line.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

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

// The paths of --files-from's list, from the file `path` ("-": standard
// input): one a line, or with `null` each ended by a NUL byte, so that any
// name, a line break inside it included, can be given. Empty entries (a
// blank line, the last line's missing break) are passed over. The bytes
// are the paths as they stand, in any encoding.
std::vector<std::string> ListedPaths(const std::string& path, bool null) {
  const auto cannot_read = [&] {
    return UsageError{"--files-from: cannot read " + path + ": " +
                      std::strerror(errno)};
  };
  errno = 0;
  const bool standard_input = path == "-";
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      standard_input ? stdin : std::fopen(path.c_str(), "rb"),
      standard_input ? [](std::FILE*) { return 0; } : &std::fclose);
  if (!file) throw cannot_read();
  const char end = null ? '\0' : '\n';
  std::vector<std::string> paths;
  std::string entry;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    for (const char c : std::string_view(buffer, n)) {
      if (c != end) {
        entry += c;
      } else if (!entry.empty()) {
        paths.push_back(std::move(entry));
        entry.clear();
      }
    }
  }
  if (std::ferror(file.get())) throw cannot_read();
  if (!entry.empty()) paths.push_back(std::move(entry));
  return paths;
}

// The extension of the last part of a listed path, which names the
// collected file of a run over a list; the default for none.
std::u16string ListExtension(const std::vector<std::string>& paths) {
  if (!paths.empty()) {
    const std::string_view path = paths.front();
    const std::string_view name = path.substr(path.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos && dot + 1 < name.size()) {
      return NativeToText(name.substr(dot + 1));
    }
  }
  return std::u16string(kDefaultExtension);
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

// The commands an option serves: a run, a suggestion, or both. A run's
// option that a suggestion does not take is refused with why.
enum class Serves {
  kBoth,        // what to read, how, and how to print
  kSuggestion,  // only a suggestion
  kRunMarkers,  // a run's markers, which a suggestion finds itself
  kRunOutput,   // a run's output, while a suggestion writes nothing
  kRun,         // the rest of a run
};

// Every option with the commands it serves, kept as each option is made,
// so that no option can be left out of the refusals.
class OptionTable {
 public:
  CLI::Option* Add(CLI::Option* option, Serves serves) {
    serves_.emplace_back(option, serves);
    return option;
  }

  // The first option given, in the table's order, that the command does not
  // take, and why.
  std::optional<std::string> Refusal(const CLI::App& app, bool suggest) const {
    for (const CLI::Option* option : app.get_options()) {
      if (option == app.get_help_ptr() || option == app.get_version_ptr() ||
          option->get_positional()) {
        continue;
      }
      const auto entry = std::ranges::find(serves_, option, &Entry::first);
      if (entry == serves_.end()) {
        throw std::logic_error(option->get_name() + " serves no command");
      }
      if (option->count() == 0) continue;
      const std::string name = option->get_name();
      switch (entry->second) {
        case Serves::kBoth:
          break;
        case Serves::kSuggestion:
          if (!suggest) return name + " goes only with --suggest";
          break;
        case Serves::kRunMarkers:
          if (suggest) return NotWithSuggest(name, "finds the markers itself");
          break;
        case Serves::kRunOutput:
          if (suggest) return NotWithSuggest(name, "writes nothing");
          break;
        case Serves::kRun:
          if (suggest) return NotWithSuggest(name, "makes no run");
          break;
      }
    }
    return std::nullopt;
  }

 private:
  using Entry = std::pair<const CLI::Option*, Serves>;

  static std::string NotWithSuggest(const std::string& name,
                                    std::string_view why) {
    return name + " does not go with --suggest, which " + std::string(why);
  }

  std::vector<Entry> serves_;
};

EarlyExit BadUsage(const std::string& message) {
  return {kExitUsage, "",
          "vantrel-cli: " + message + "\n" +
              "Run with --help for more information.\n"};
}

// The command line as CLI11 reads it, before it is checked and turned into
// a request.
struct Arguments {
  std::string start, start_file, end, end_file, folder, files_from, out;
  std::string extension = TextToUtf8(kDefaultExtension);
  std::string line_breaks = "exact", charset = "auto", out_charset;
  std::string around, around_file;
  bool separate = false, quiet = false, explain = false, ignore_case = false;
  bool regex = false, recursive = false, keep_going = false, dry_run = false;
  bool json = false, text = false, json_lines = false, suggest = false;
  bool null = false;
  // The options whose presence, not only their value, counts.
  const CLI::Option* start_opt = nullptr;
  const CLI::Option* start_file_opt = nullptr;
  const CLI::Option* end_opt = nullptr;
  const CLI::Option* end_file_opt = nullptr;
  const CLI::Option* around_opt = nullptr;
  const CLI::Option* around_file_opt = nullptr;
  const CLI::Option* ext_opt = nullptr;
  const CLI::Option* files_from_opt = nullptr;
  const CLI::Option* out_opt = nullptr;
  const CLI::Option* folder_opt = nullptr;
};

// The option table: each option, its help, and the commands it serves, in
// the order --help shows them.
void DefineOptions(CLI::App& app, Arguments& a, OptionTable& table) {
  app.set_version_flag("--version",
                       std::string("vantrel-cli ") + VANTREL_VERSION_DISPLAY,
                       "Print the version and exit");
  auto* start_opt = table.Add(
      app.add_option("--start", a.start,
                     "Start marker (UTF-8; '' is an empty marker, which "
                     "matches at the first character); default: the "
                     "window's two-line <Div id=\"E23\"> marker"),
      Serves::kRunMarkers);
  auto* start_file_opt =
      table.Add(app.add_option("--start-file", a.start_file,
                               "Read the start marker from FILE, byte for "
                               "byte (how to give CR LF line breaks)")
                    ->type_name("FILE"),
                Serves::kRunMarkers);
  start_opt->excludes(start_file_opt);
  auto* end_opt = table.Add(
      app.add_option(
          "--end", a.end,
          "End marker (UTF-8; '' is an empty marker, which gives an empty "
          "piece); default: the window's </p></Div>"),
      Serves::kRunMarkers);
  auto* end_file_opt =
      table.Add(app.add_option("--end-file", a.end_file,
                               "Read the end marker from FILE, byte for byte")
                    ->type_name("FILE"),
                Serves::kRunMarkers);
  end_opt->excludes(end_file_opt);
  // Split by Extensions, not by CLI11's delimiter(','), which drops empty
  // items (bad usage here), keeps the spaces around an item and lets the
  // option take the arguments after it too.
  auto* ext_opt = table.Add(
      app.add_option("--ext", a.extension,
                     "Extension of the files to read, without a dot; several "
                     "as a comma-separated list (htm,html), the first naming "
                     "the collected file")
          ->type_name("EXT")
          ->capture_default_str(),
      Serves::kBoth);
  table.Add(app.add_flag("--separate", a.separate,
                         "One output file per source in a new folder ExportN"),
            Serves::kRunOutput);
  table.Add(app.add_flag("--quiet", a.quiet,
                         "Show no progress bar and no summary of near misses"),
            Serves::kRun);
  table.Add(
      app.add_flag("--explain", a.explain,
                   "Below each file that gave no piece, tell why when a "
                   "marker is nearly there (other line breaks, letter case, "
                   "spacing, charset, the end marker only before the start "
                   "marker)"),
      Serves::kRun);
  table.Add(
      app.add_option("--line-breaks", a.line_breaks,
                     "any: a line break in a marker (CR LF, LF or CR) matches "
                     "any line break of the text")
          ->transform(CLI::IsMember({"exact", "any"}, CLI::ignore_case))
          ->capture_default_str(),
      Serves::kRunMarkers);
  table.Add(app.add_flag("--ignore-case", a.ignore_case,
                         "Markers match whatever the letter case"),
            Serves::kRunMarkers);
  // IsMember, not CheckedTransformer, which would show its mapping in the
  // help and in the message for a name it lacks.
  table.Add(
      app.add_option("--charset", a.charset,
                     "Read every file in this charset; auto: the first "
                     "file's signature decides; detect: each file's own "
                     "(signature, UTF-8, UTF-16, meta charset, statistics, "
                     "windows-1256), output in UTF-16LE")
          ->transform(CLI::IsMember(CharsetChoices(), CLI::ignore_case))
          ->capture_default_str(),
      Serves::kBoth);
  table.Add(app.add_flag("--regex", a.regex,
                         "Both markers are regular expressions (ICU's "
                         "syntax); the piece is what lies between the two "
                         "matches"),
            Serves::kRunMarkers);
  table.Add(
      app.add_flag("--recursive", a.recursive,
                   "Read the files in sub-folders too, at any depth, in "
                   "order of their path; with --separate, ExportN mirrors "
                   "the tree"),
      Serves::kBoth);
  table.Add(
      app.add_flag("--keep-going", a.keep_going,
                   "Log a file or sub-folder that cannot be read, with the "
                   "reason, and go on with the rest (exit status 2 at the "
                   "end); without it, the first one ends the run"),
      Serves::kRun);
  table.Add(app.add_flag("--dry-run", a.dry_run,
                         "Do everything but create or write anything; name "
                         "the output a run would make"),
            Serves::kRunOutput);
  table.Add(
      app.add_flag("--json", a.json,
                   "JSON Lines on standard output instead of the log: one "
                   "object per file, then a summary (implies --explain); "
                   "with --suggest, one object per suggested pair, then a "
                   "summary"),
      Serves::kBoth);
  table.Add(app.add_flag("--text", a.text,
                         "Write each piece as the plain text of its HTML, "
                         "into ExportN.txt (with --separate, one .txt per "
                         "source), UTF-8 unless --out-charset says otherwise"),
            Serves::kRunOutput);
  const std::string utf8(OutputFormatName(OutputFormat::kUtf8));
  const std::string utf16le(OutputFormatName(OutputFormat::kUtf16Le));
  table.Add(app.add_option("--out-charset", a.out_charset,
                           "Write the output in " + utf8 +
                               " (no signature) or " + utf16le +
                               " (with signature; the default without --text)")
                ->transform(CLI::IsMember({utf8, utf16le}, CLI::ignore_case)),
            Serves::kRunOutput);
  table.Add(app.add_flag("--jsonl", a.json_lines,
                         "Write ExportN.jsonl, UTF-8: one JSON object per "
                         "piece, {\"file\":NAME,\"piece\":PIECE}"),
            Serves::kRunOutput);
  table.Add(
      app.add_flag("--suggest", a.suggest,
                   "Find the markers by comparing the pages of FOLDER (those "
                   "that --ext, --recursive and --charset say a run would "
                   "read) and print up to three pairs, best first, each with "
                   "how many files it gives a piece on and the command line "
                   "that runs it; writes nothing"),
      Serves::kBoth);
  auto* around_opt = table.Add(
      app.add_option("--around", a.around,
                     "With --suggest: markers around the element that holds "
                     "TEXT, some of the wanted text as a browser shows it "
                     "(UTF-8; spacing, entities and letter case may differ)")
          ->type_name("TEXT"),
      Serves::kSuggestion);
  auto* around_file_opt = table.Add(
      app.add_option("--around-file", a.around_file,
                     "With --suggest: read the text for --around from FILE "
                     "(UTF-8)")
          ->type_name("FILE"),
      Serves::kSuggestion);
  around_opt->excludes(around_file_opt);
  auto* files_from_opt = table.Add(
      app.add_option("--files-from", a.files_from,
                     "Read exactly the files named in FILE (- for standard "
                     "input), one path a line, in the order given, instead "
                     "of FOLDER; needs --out")
          ->type_name("FILE"),
      Serves::kBoth);
  table.Add(app.add_flag("--null", a.null,
                         "With --files-from: the paths end in NUL bytes, not "
                         "line breaks (find -print0)"),
            Serves::kBoth);
  auto* out_opt =
      table.Add(app.add_option("--out", a.out,
                               "Make the output in the folder DIR instead of "
                               "FOLDER; must exist")
                    ->type_name("DIR"),
                Serves::kRunOutput);
  auto* folder_opt =
      app.add_option(
             "FOLDER", a.folder,
             "Folder whose files are read, or a web archive (.warc, .warc.gz)")
          ->type_name("");
  app.footer(
      "Exit status: 0 every file gave a piece (with --suggest, markers were "
      "found); 1 an input was missing, no file had the extension, or a file "
      "gave no piece (with --suggest, no markers were found); 2 the run "
      "ended with an error, --keep-going passed over a file or folder, or "
      "standard output could not be written; 64 bad usage.");
  a.start_opt = start_opt;
  a.start_file_opt = start_file_opt;
  a.end_opt = end_opt;
  a.end_file_opt = end_file_opt;
  a.around_opt = around_opt;
  a.around_file_opt = around_file_opt;
  a.ext_opt = ext_opt;
  a.files_from_opt = files_from_opt;
  a.out_opt = out_opt;
  a.folder_opt = folder_opt;
}

// Where the files come from: FOLDER, or the list of --files-from, which
// stands for FOLDER, --ext and --recursive and needs --out for a run.
void SelectFiles(const Arguments& a, FileSelection& files) {
  const bool listed = a.files_from_opt->count() > 0;
  if (a.null && !listed) throw UsageError{"--null goes only with --files-from"};
  files.web_archives = true;
  if (!listed) {
    files.folder = NativeToText(a.folder);
    files.recursive = a.recursive;
    // A web archive given alone: its pages are read, and the output is
    // made beside it.
    if (IsWebArchiveFile(files.folder)) {
      files.origin = WebArchive{a.folder};
      const std::filesystem::path parent =
          std::filesystem::path(a.folder).parent_path();
      files.folder = NativeToText(parent.empty() ? "." : parent.string());
    }
    return;
  }
  const auto not_with_list = [](const std::string& what, std::string_view why) {
    return UsageError{what + " does not go with --files-from, which " +
                      std::string(why)};
  };
  if (a.folder_opt->count() > 0) {
    throw not_with_list("FOLDER", "names the files itself");
  }
  if (a.ext_opt->count() > 0 || a.recursive) {
    throw not_with_list(
        a.recursive && a.ext_opt->count() == 0 ? "--recursive" : "--ext",
        "reads exactly the files listed");
  }
  if (!a.suggest && a.out_opt->count() == 0) {
    throw UsageError{
        "--files-from needs --out, the folder to make the output in"};
  }
  FileList list{ListedPaths(a.files_from, a.null), a.files_from, a.null};
  files.extensions = {ListExtension(list.paths)};
  files.origin = std::move(list);
}

// The run or suggestion that checked arguments ask for; marker and text
// files are read here. Bad usage is thrown as UsageError.
CliRequest Request(const Arguments& a) {
  CliRequest request;
  RunInputs& inputs = request.inputs;
  RunOptions& options = request.options;
  inputs.separate = a.separate;
  inputs.start_marker = Marker(*a.start_opt, a.start, *a.start_file_opt,
                               a.start_file, kDefaultStartMarker);
  inputs.end_marker =
      Marker(*a.end_opt, a.end, *a.end_file_opt, a.end_file, kDefaultEndMarker);
  FileSelection& files = inputs.files;
  files.extensions = Extensions(Utf8Argument("--ext", a.extension));
  SelectFiles(a, files);
  if (a.out_opt->count() > 0) {
    if (const auto problem = OutFolderProblem(NativeToText(a.out))) {
      throw UsageError{"--out " + a.out + ": " + *problem};
    }
    options.out_folder = NativeToText(a.out);
  }
  if (a.charset == "detect") {
    files.charset = CharsetOfEachFile{};
  } else if (const auto fixed = CharsetWithOptionName(a.charset)) {
    files.charset = *fixed;
  }

  options.matching.regex = a.regex;
  options.matching.ignore_case = a.ignore_case;
  options.matching.line_breaks_any = a.line_breaks == "any";
  if (options.matching.regex) {
    if (options.matching.line_breaks_any) {
      throw UsageError{
          "--line-breaks any does not go with --regex: a pattern says "
          "how it takes line breaks (\\R matches any)"};
    }
    CheckPattern(a.start_file_opt->count() > 0 ? "--start-file" : "--start",
                 inputs.start_marker, a.ignore_case);
    CheckPattern(a.end_file_opt->count() > 0 ? "--end-file" : "--end",
                 inputs.end_marker, a.ignore_case);
  }
  const std::string utf8(OutputFormatName(OutputFormat::kUtf8));
  const std::string utf16le(OutputFormatName(OutputFormat::kUtf16Le));
  if (a.json_lines && a.separate) {
    throw UsageError{"--jsonl writes one file and does not go with --separate"};
  }
  if (a.json_lines && a.out_charset == utf16le) {
    throw UsageError{"--out-charset " + utf16le +
                     " does not go with --jsonl, which writes " + utf8};
  }
  options.keep_going = a.keep_going;
  options.dry_run = a.dry_run;
  if (a.text) options.transform = &PlainTextTransform();
  if (a.json_lines) options.output.kind = OutputKind::kJsonLines;
  if (!a.out_charset.empty()) {
    options.output.format =
        a.out_charset == utf8 ? OutputFormat::kUtf8 : OutputFormat::kUtf16Le;
  }

  request.json = a.json;
  request.quiet = a.quiet;
  request.explain = a.explain || a.json;
  // Near misses are looked for when someone will hear of them.
  options.near_misses = request.explain || !request.quiet;
  request.progress = !request.quiet && ::isatty(STDERR_FILENO) == 1;

  if (a.suggest) {
    SuggestionRequest& suggestion = request.suggestion.emplace();
    suggestion.files = files;
    if (a.around_file_opt->count() > 0) {
      suggestion.around =
          FileText(a.around_file_opt->get_name(), a.around_file);
    } else if (a.around_opt->count() > 0) {
      suggestion.around = Utf8Argument("--around", a.around);
    }
    // An empty text is on every page and marks out nothing.
    for (const CLI::Option* option : {a.around_opt, a.around_file_opt}) {
      if (option->count() > 0 && suggestion.around.empty()) {
        throw UsageError{option->get_name() +
                         ": the text to suggest around is empty"};
      }
    }
  }
  return request;
}

}  // namespace

std::variant<CliRequest, EarlyExit> ParseCommandLine(int argc,
                                                     const char* const* argv) {
  CLI::App app{
      "Extracts the text between a start marker and an end marker from every\n"
      "file with the given extension directly inside FOLDER (with\n"
      "--recursive, anywhere below it), or from every file that\n"
      "--files-from lists, into a new ExportN.<extension> in FOLDER or in\n"
      "--out DIR (or, with --separate, a new folder ExportN with one file\n"
      "per source). With --suggest, finds the markers itself instead and\n"
      "prints them, each with the command line that runs it.\n",
      "vantrel-cli"};
  Arguments arguments;
  OptionTable table;
  DefineOptions(app, arguments, table);

  // `vantrel-cli --completion SHELL` prints the shell's completion script,
  // made from the options above; the build installs its output. It stays out
  // of the option table, so --help and the completions do not show it.
  if (argc == 3 && std::string_view(argv[1]) == "--completion") {
    if (auto script = CompletionScript(app, argv[2])) {
      return EarlyExit{kExitClean, *script, ""};
    }
    return BadUsage("--completion: the shell is bash, zsh or fish");
  }

  // Left over arguments are told below, after FOLDER's absence.
  app.allow_extras();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() != 0) return BadUsage(e.what());
    // --help or --version.
    std::ostringstream out;
    app.exit(e, out);
    return EarlyExit{kExitClean, out.str(), ""};
  }

  // FOLDER is needed unless --files-from stands for it: told in CLI11's
  // words and order, as when FOLDER was all there was, before the
  // arguments left over.
  if (arguments.folder_opt->count() == 0 &&
      arguments.files_from_opt->count() == 0) {
    return BadUsage("FOLDER is required");
  }
  if (app.remaining_size() > 0) {
    return BadUsage(CLI::ExtrasError(app.remaining()).what());
  }
  try {
    // What the command does not take is told before any file is read.
    if (auto refusal = table.Refusal(app, arguments.suggest)) {
      throw UsageError{*refusal};
    }
    return Request(arguments);
  } catch (const UsageError& e) {
    return BadUsage(e.message);
  }
}

}  // namespace vantrel::cli
