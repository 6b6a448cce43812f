#include "cli/suggest_report.h"

#include <iostream>
#include <nlohmann/json.hpp>
#include <string_view>

#include "cli/command_line.h"
#include "cli/shell_quote.h"
#include "extraction/defaults.h"
#include "extraction/messages.h"
#include "extraction/text/charsets.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace vantrel::cli {
namespace {

using json = nlohmann::ordered_json;

// A marker option and its value. A value that begins with a dash goes after
// an equals sign, where the option parser cannot take it for an option.
std::string MarkerArgument(std::string_view option, std::u16string_view text) {
  const std::string value = AnsiCQuoted(TextToUtf8(text));
  if (!text.empty() && text.front() == u'-') {
    return " " + std::string(option) + "=" + value;
  }
  return " " + std::string(option) + " " + value;
}

// The preview as one line for a terminal: a control character, which the
// engine's collapsed visible text should not hold, shows as a space.
std::string PreviewLine(std::u16string_view preview) {
  std::u16string line(preview);
  for (char16_t& c : line) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) c = u' ';
  }
  return TextToUtf8(line);
}

void WriteText(const SuggestionRequest& request, const SuggestionResult& result,
               ReportStream& out) {
  std::string text;
  int rank = 0;
  for (const MarkerSuggestion& suggestion : result.suggestions) {
    text += std::to_string(++rank) +
            ". start: " + AnsiCQuoted(TextToUtf8(suggestion.start)) + "\n" +
            "   end:   " + AnsiCQuoted(TextToUtf8(suggestion.end)) + "\n";
    if (suggestion.regex) {
      text += "   both markers are patterns, for --regex\n";
    }
    text += "   gives a piece on " + std::to_string(suggestion.pieces) +
            " of " + std::to_string(result.files) + " files; median length " +
            std::to_string(suggestion.median_length) + " characters\n" +
            "   preview: " + PreviewLine(suggestion.preview) + "\n" + "   " +
            RunCommand(request, suggestion) + "\n\n";
  }
  text += TextToUtf8(result.message) + "\n";
  out.Write(text);
}

void WriteJson(const SuggestionResult& result,
               const std::string* error_description, ReportStream& out) {
  std::string lines;
  int rank = 0;
  for (const MarkerSuggestion& suggestion : result.suggestions) {
    json line{{"type", "suggestion"},
              {"rank", ++rank},
              {"start", TextToUtf8(suggestion.start)},
              {"end", TextToUtf8(suggestion.end)},
              {"regex", suggestion.regex},
              {"files", result.files},
              {"pieces", suggestion.pieces},
              {"median_length", suggestion.median_length},
              {"preview", TextToUtf8(suggestion.preview)},
              {"basis", TextToUtf8(suggestion.basis)}};
    lines += line.dump() + "\n";
  }
  json summary{{"type", "summary"},
               {"files", result.files},
               {"other_template", result.other_template},
               {"suggestions", result.suggestions.size()},
               {"message", error_description != nullptr
                               ? json(nullptr)
                               : json(TextToUtf8(result.message))},
               {"error", error_description != nullptr ? json(*error_description)
                                                      : json(nullptr)}};
  out.Write(lines + summary.dump() + "\n");
}

}  // namespace

std::string RunCommand(const SuggestionRequest& request,
                       const MarkerSuggestion& suggestion) {
  std::string command = "vantrel-cli" +
                        MarkerArgument("--start", suggestion.start) +
                        MarkerArgument("--end", suggestion.end);
  if (suggestion.regex) command += " --regex";
  const FileSelection& files = request.files;
  std::u16string extensions;
  for (const std::u16string& extension : files.extensions) {
    if (!extensions.empty()) extensions += u',';
    extensions += extension;
  }
  if (files.file_list() == nullptr && extensions != kDefaultExtension) {
    command += " --ext " + ShellWord(TextToUtf8(extensions));
  }
  if (files.recursive) command += " --recursive";
  if (files.charset_per_file()) {
    command += " --charset detect";
  } else if (const auto fixed = files.fixed_charset()) {
    command += " --charset " + std::string(CharsetOptionName(*fixed));
  }
  // A list is named again; the run needs a folder for its output, and the
  // working folder is the one at hand.
  if (const FileList* list = files.file_list()) {
    command += " --files-from " + ShellWord(list->from);
    if (list->null_separated) command += " --null";
    return command + " --out .";
  }
  // An archive given alone is named again, not its folder.
  const std::string folder = files.web_archive() != nullptr
                                 ? files.web_archive()->path
                                 : TextToNative(files.folder);
  // A folder that looks like an option comes after the end of the options.
  if (!folder.empty() && folder.front() == '-') command += " --";
  return command + " " + ShellWord(folder);
}

int SuggestAndReport(const SuggestionRequest& request, bool json,
                     ReportStream& out) {
  const SuggestionResult result = SuggestMarkers(request);
  if (result.why == NoSuggestion::kFailed) {
    // Told as a run tells the failure that ends it, a name that is not
    // valid UTF-8 with U+FFFD.
    const std::string description = TextToUtf8(result.message);
    if (json) {
      WriteJson(result, &description, out);
    } else {
      out.Write(TextToUtf8(kUnknownErrorMessage) + "\n" + description + "\n");
    }
    return kExitTrapped;
  }
  if (json) {
    WriteJson(result, nullptr, out);
  } else if (!result.suggestions.empty()) {
    WriteText(request, result, out);
  }
  if (result.suggestions.empty()) {
    std::cerr << "vantrel-cli: " << TextToUtf8(result.message) << '\n';
    return kExitFailures;
  }
  return kExitClean;
}

}  // namespace vantrel::cli
