// vantrel-cli: one extraction run from a terminal, for scripts and batch
// work. It takes the window's inputs as options, prints the run's log, the
// output's path and the summary, and tells the outcome by its exit status.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <vector>

#include "cli/charset_names.h"
#include "cli/cli_report.h"
#include "cli/report_stream.h"
#include "extraction/defaults.h"
#include "extraction/marker_check.h"
#include "extraction/run.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"
#include "vantrel_version.h"

namespace {

namespace vc = vantrel::cli;

// Exit statuses.
constexpr int kExitClean = 0;     // ended normally, no file failed
constexpr int kExitFailures = 1;  // an input check or a file failed
constexpr int kExitTrapped = 2;   // ended through the error trap, or
                                  // passed over unreadable files
constexpr int kExitUsage = 64;    // bad usage (as sysexits' EX_USAGE)

struct UsageError {
  std::string message;
};

std::u16string Utf8Argument(const std::string& what, const std::string& bytes) {
  auto text = vantrel::StrictUtf8ToText(bytes);
  if (!text) throw UsageError{what + " is not valid UTF-8"};
  return *text;
}

// A marker file's content, byte for byte, as text. Any file that can be
// read will do, a pipe from the shell's <(printf ...) included.
std::u16string MarkerFile(const std::string& option, const std::string& path) {
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
  if (file_option.count() > 0) return MarkerFile(file_option.get_name(), file);
  if (text_option.count() > 0)
    return Utf8Argument(text_option.get_name(), text);
  return std::u16string(fallback);
}

// The charset that --charset names; nothing for auto.
std::optional<vantrel::Charset> CharsetNamed(const std::string& name) {
  for (const vantrel::Charset charset :
       {vantrel::Charset::kUtf8, vantrel::Charset::kUnicode,
        vantrel::Charset::kUtf16, vantrel::Charset::kWindows1256}) {
    if (vc::CharsetOptionName(charset) == name) return charset;
  }
  return std::nullopt;
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

// Why a run read no file, for a folder in which no file has any of the
// extensions: the folder, the extensions, and the likeliest slip, a dot.
std::string NoFilesRead(const std::u16string& folder,
                        const std::vector<std::u16string>& extensions,
                        bool recursive) {
  std::string looked_for, without_dots;
  bool dotted = false;
  for (std::size_t i = 0; i < extensions.size(); ++i) {
    const std::string ext = vantrel::TextToUtf8(extensions[i]);
    if (i > 0) looked_for += i + 1 == extensions.size() ? " or " : ", ";
    looked_for += ext;
    const bool dot = ext.size() > 1 && ext.front() == '.';
    dotted |= dot;
    if (i > 0) without_dots += ',';
    without_dots += dot ? ext.substr(1) : ext;
  }
  std::string line = "vantrel-cli: no file in " +
                     vantrel::TextToUtf8(vantrel::DisplayName(folder)) +
                     (recursive ? " or below it" : "") + " has the extension" +
                     (extensions.size() > 1 ? "s " : " ") + looked_for;
  if (dotted) {
    line += "; --ext takes extensions without their dot: --ext " + without_dots;
  }
  return line;
}

// A marker that must compile as a pattern.
void CheckPattern(const std::string& option, std::u16string_view pattern,
                  bool ignore_case) {
  if (auto error = vantrel::MarkerPatternError(pattern, ignore_case)) {
    throw UsageError{option + ": " + *error};
  }
}

// Tells the user that the report was lost, and why.
int ReportLost(int error_number) {
  std::cerr << "vantrel-cli: cannot write standard output: "
            << std::strerror(error_number) << '\n';
  return kExitTrapped;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Extracts the text between a start marker and an end marker from every\n"
      "file with the given extension directly inside FOLDER (with\n"
      "--recursive, anywhere below it), into a new ExportN.<extension> in\n"
      "FOLDER (or, with --separate, a new folder ExportN with one file per\n"
      "source).\n",
      "vantrel-cli"};
  app.set_version_flag("--version",
                       std::string("vantrel-cli ") + VANTREL_VERSION_DISPLAY,
                       "Print the version and exit");

  std::string start, start_file, end, end_file, folder;
  std::string extension = vantrel::TextToUtf8(vantrel::kDefaultExtension);
  bool separate = false, quiet = false;
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
  app.add_option("--ext", extension,
                 "Extension of the files to read, without a dot; several as "
                 "a comma-separated list (htm,html), the first naming the "
                 "collected file")
      ->type_name("EXT")
      ->capture_default_str();
  app.add_flag("--separate", separate,
               "One output file per source in a new folder ExportN");
  app.add_flag("--quiet", quiet,
               "Show no progress bar and no summary of near misses");
  bool explain = false, ignore_case = false, dry_run = false, json = false;
  std::string line_breaks = "exact", charset = "auto";
  app.add_flag("--explain", explain,
               "Below each file that gave no piece, tell why when a marker is "
               "nearly there (other line breaks, letter case, spacing, "
               "charset, the end marker only before the start marker)");
  app.add_option("--line-breaks", line_breaks,
                 "any: a line break in a marker (CR LF, LF or CR) matches any "
                 "line break of the text")
      ->transform(CLI::IsMember({"exact", "any"}, CLI::ignore_case))
      ->capture_default_str();
  app.add_flag("--ignore-case", ignore_case,
               "Markers match whatever the letter case");
  app.add_option("--charset", charset,
                 "Read every file in this charset; auto: the first file's "
                 "signature decides")
      ->transform(CLI::IsMember(
          {"auto", "utf-8", "utf-16le", "utf-16be", "windows-1256"},
          CLI::ignore_case))
      ->capture_default_str();
  bool regex = false, recursive = false;
  app.add_flag("--regex", regex,
               "Both markers are regular expressions (ICU's syntax); the "
               "piece is what lies between the two matches");
  app.add_flag("--recursive", recursive,
               "Read the files in sub-folders too, at any depth, in order of "
               "their path; with --separate, ExportN mirrors the tree");
  bool keep_going = false;
  app.add_flag("--keep-going", keep_going,
               "Log a file or sub-folder that cannot be read, with the "
               "reason, and go on with the rest (exit status 2 at the end); "
               "without it, the first one ends the run");
  app.add_flag("--dry-run", dry_run,
               "Do everything but create or write anything; name the output "
               "a run would make");
  app.add_flag("--json", json,
               "JSON Lines on standard output instead of the log: one object "
               "per file, then a summary (implies --explain)");
  app.add_option("FOLDER", folder, "Folder whose files are read")
      ->type_name("")
      ->required();
  app.footer(
      "Exit status: 0 every file gave a piece; 1 an input was missing, no "
      "file had the extension, or a file gave no piece; 2 the run ended "
      "with an error, --keep-going passed over a file or folder, or "
      "standard output could not be written; 64 bad usage.");

  // A reader that goes away must not end the run halfway through its
  // pieces: a write to it fails with EPIPE instead, like any other.
  std::signal(SIGPIPE, SIG_IGN);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() != 0) {
      std::cerr << "vantrel-cli: " << e.what() << "\n"
                << "Run with --help for more information.\n";
      return kExitUsage;
    }
    // --help or --version.
    app.exit(e);
    if (!std::cout.flush()) return ReportLost(errno != 0 ? errno : EIO);
    return kExitClean;
  }

  vantrel::RunInputs inputs;
  vantrel::RunOptions options;
  std::vector<std::u16string> extensions;
  try {
    inputs.start_marker = Marker(*start_opt, start, *start_file_opt, start_file,
                                 vantrel::kDefaultStartMarker);
    inputs.end_marker = Marker(*end_opt, end, *end_file_opt, end_file,
                               vantrel::kDefaultEndMarker);
    extensions = Extensions(Utf8Argument("--ext", extension));
    inputs.extension = extensions.front();
    inputs.more_extensions.assign(extensions.begin() + 1, extensions.end());
    options.matching.line_breaks_any = line_breaks == "any";
    options.matching.ignore_case = ignore_case;
    options.matching.regex = regex;
    if (regex) {
      if (options.matching.line_breaks_any) {
        throw UsageError{
            "--line-breaks any does not go with --regex: a pattern says "
            "how it takes line breaks (\\R matches any)"};
      }
      CheckPattern(start_file_opt->count() > 0 ? "--start-file" : "--start",
                   inputs.start_marker, ignore_case);
      CheckPattern(end_file_opt->count() > 0 ? "--end-file" : "--end",
                   inputs.end_marker, ignore_case);
    }
  } catch (const UsageError& e) {
    std::cerr << "vantrel-cli: " << e.message << "\n"
              << "Run with --help for more information.\n";
    return kExitUsage;
  }
  inputs.folder = vantrel::NativeToText(folder);
  inputs.separate = separate;
  options.charset = CharsetNamed(charset);
  options.dry_run = dry_run;
  options.recursive = recursive;
  options.keep_going = keep_going;
  explain |= json;
  // Near misses are looked for when someone will hear of them.
  options.hints = explain || !quiet;

  const bool show_progress = !quiet && ::isatty(STDERR_FILENO) == 1;
  std::FILE* progress = show_progress ? stderr : nullptr;
  vc::ReportStream out(STDOUT_FILENO);
  std::unique_ptr<vc::CliReport> window;
  if (json) {
    window = std::make_unique<vc::JsonReport>(out, progress);
  } else {
    window = std::make_unique<vc::TextReport>(out, progress, explain);
  }
  const vantrel::RunResult result =
      vantrel::RunExtraction(inputs, options, *window);
  window->Finish(result, dry_run);

  if (!explain && !quiet) {
    for (const std::string& line : window->near_misses().Lines()) {
      std::cerr << line << '\n';
    }
  }
  const bool read_nothing =
      result.end == vantrel::RunResult::End::kNormal && result.matching == 0;
  if (read_nothing) {
    std::cerr << NoFilesRead(vantrel::NativeToText(folder), extensions,
                             recursive)
              << '\n';
  }
  if (out.error() != 0) return ReportLost(out.error());
  if (result.end == vantrel::RunResult::End::kErrorTrap ||
      result.unreadable > 0) {
    return kExitTrapped;
  }
  if (result.end == vantrel::RunResult::End::kInputRejected ||
      result.failures > 0 || read_nothing) {
    return kExitFailures;
  }
  return kExitClean;
}
