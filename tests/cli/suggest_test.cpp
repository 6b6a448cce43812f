// vantrel-cli --suggest: what does not go with it, the quoting of the
// command lines it prints, its exit statuses and JSON Lines, and the
// printed command run as printed.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/shell_quote.h"
#include "tests/cli/cli_process.h"
#include "tests/cli/json_lines.h"
#include "tests/support/temp_folder.h"

namespace vantrel {
namespace {

using nlohmann::json;
using testing::JsonLines;
using testing::Outcome;
using testing::RunCli;
using testing::TempFolder;

// Runs `command` through bash -c as a user would paste it, with vantrel-cli
// found on the PATH; gives its standard output and its exit status.
Outcome Bash(const std::string& command) {
  TempFolder scratch;
  const std::string script = scratch.create("command", command).string();
  const std::string program = std::getenv("VANTREL_CLI");
  const std::string line =
      "PATH='" + std::filesystem::path(program).parent_path().string() +
      "':\"$PATH\" bash -c \"$(cat '" + script + "')\" 2>/dev/null";
  Outcome outcome;
  FILE* pipe = ::popen(line.c_str(), "r");
  if (pipe == nullptr) return outcome;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    outcome.out.append(buffer, n);
  }
  const int status = ::pclose(pipe);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

// Pages of one site: one template, with CR LF line breaks, tabs and both
// kinds of quotes in it, around a body that differs on every page in its
// words, not only in its numbers (numbers alone could be a page counter).
std::string TemplatePage(int n, const std::string& words) {
  static const char* const kOwnWords[] = {"amber", "birch", "cedar",
                                          "delta", "ember", "fjord"};
  const std::string number =
      std::to_string(n) + " " + kOwnWords[(n - 1) % std::size(kOwnWords)];
  return "<html>\r\n<head><title>Page " + number +
         "</title></head>\r\n<body>\r\n<div class='nav'>\t<a "
         "href=\"index.htm\">Home</a></div>\r\n<div class=\"body\">\r\n<h1>" +
         "Heading " + number + "</h1>\r\n<p>" + words + " " + number +
         ", with its own words on page " + number +
         ".</p>\r\n</div>\r\n<div class='footer'>Made with care</div>\r\n"
         "</body>\r\n</html>\r\n";
}

void MakeSite(TempFolder& dir, const std::string& sub, const std::string& ext,
              const std::string& words, int pages = 6) {
  for (int n = 1; n <= pages; ++n) {
    dir.create(sub + "page" + std::to_string(n) + "." + ext,
               TemplatePage(n, words));
  }
}

TEST(SuggestTest, OptionsThatDoNotGoWithIt) {
  TempFolder dir;
  dir.create("empty", "");
  const std::string folder = dir.path().string();
  const std::string kMarkers =
      " does not go with --suggest, which finds the "
      "markers itself";
  const std::string kWrites =
      " does not go with --suggest, which writes "
      "nothing";
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"--start", "<a>"}, "--start" + kMarkers},
      // Refused before the file is read.
      {{"--end-file", folder + "/missing"}, "--end-file" + kMarkers},
      {{"--regex"}, "--regex" + kMarkers},
      {{"--line-breaks", "exact"}, "--line-breaks" + kMarkers},
      {{"--ignore-case"}, "--ignore-case" + kMarkers},
      {{"--separate"}, "--separate" + kWrites},
      {{"--dry-run"}, "--dry-run" + kWrites},
      {{"--text"}, "--text" + kWrites},
      {{"--jsonl"}, "--jsonl" + kWrites},
      {{"--out-charset", "utf-8"}, "--out-charset" + kWrites},
      {{"--keep-going"},
       "--keep-going does not go with --suggest, which "
       "makes no run"},
      {{"--explain"},
       "--explain does not go with --suggest, which makes "
       "no run"},
      {{"--around-file", folder + "/missing"},
       "--around-file: cannot read " + folder +
           "/missing: No such file or directory"},
      {{"--around", "\xFF"}, "--around is not valid UTF-8"},
      {{"--around", ""}, "--around: the text to suggest around is empty"},
      {{"--around-file", folder + "/empty"},
       "--around-file: the text to suggest around is empty"},
      {{"--around", "a", "--around-file", "f"}, ""},  // the parser's words
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin(), "--suggest");
    args.push_back(folder);
    const Outcome run = RunCli(args);
    const std::string shown = ::testing::PrintToString(args);
    EXPECT_EQ(run.status, 64) << shown;
    EXPECT_EQ(run.out, "") << shown;
    if (c.message.empty()) {
      EXPECT_EQ(run.err.rfind("vantrel-cli: ", 0), 0u) << shown << run.err;
    } else {
      EXPECT_EQ(run.err, "vantrel-cli: " + c.message +
                             "\nRun with --help for more information.\n")
          << shown;
    }
  }
  for (const char* option : {"--around", "--around-file"}) {
    const Outcome run = RunCli({option, "text", folder});
    EXPECT_EQ(run.status, 64) << option;
    EXPECT_EQ(run.err, "vantrel-cli: " + std::string(option) +
                           " goes only with --suggest\n"
                           "Run with --help for more information.\n");
  }
}

// Each word gives back its exact bytes in bash, and nothing in it acts on
// a terminal.
TEST(SuggestTest, QuotingGivesTheExactBytes) {
  struct Case {
    std::string bytes;
    std::string quoted;
    std::string word;  // as one word of the command line
  };
  const Case cases[] = {
      {"</div>\r\n<p>", "$'</div>\\r\\n<p>'", "$'</div>\\r\\n<p>'"},
      {"<td>\t'x'", "$'<td>\\t\\'x\\''", "$'<td>\\t\\'x\\''"},
      {"a\\nb", "$'a\\\\nb'", "$'a\\\\nb'"},
      {"$HOME \"`x`\"", "$'$HOME \"`x`\"'", "$'$HOME \"`x`\"'"},
      // A byte as two hex digits, so that a hex digit after it stays out.
      {"\x01"
       "a\x7F",
       "$'\\x01a\\x7f'", "$'\\x01a\\x7f'"},
      {"\xD9\x85\xD8\xAA\xD9\x86 \xC2\x85",
       "$'\xD9\x85\xD8\xAA\xD9\x86 "
       "\\xc2\\x85'",
       "$'\xD9\x85\xD8\xAA\xD9\x86 \\xc2\\x85'"},
      {"caf\xFF", "$'caf\xFF'", "$'caf\xFF'"},
      {"/tmp/site-2,v_1.0", "$'/tmp/site-2,v_1.0'", "/tmp/site-2,v_1.0"},
      {"~/my pages", "$'~/my pages'", "$'~/my pages'"},
      {"", "$''", "$''"},
  };
  for (const Case& c : cases) {
    const std::string shown = ::testing::PrintToString(c.bytes);
    const std::string quoted = cli::AnsiCQuoted(c.bytes);
    const std::string word = cli::ShellWord(c.bytes);
    EXPECT_EQ(quoted, c.quoted) << shown;
    EXPECT_EQ(word, c.word) << shown;
    EXPECT_EQ(Bash("printf %s " + quoted).out, c.bytes) << shown;
    EXPECT_EQ(Bash("printf %s " + word).out, c.bytes) << shown;
  }
}

// The exit status, standard output and standard error tell whether there
// is a suggestion, in text and in JSON Lines alike; the folder stays as it
// was.
TEST(SuggestTest, ExitStatusesAndJsonLines) {
  TempFolder good, few, unreadable;
  MakeSite(good, "", "htm", "Body text");
  MakeSite(few, "", "htm", "Body text", 2);
  // In a folder whose name is not valid UTF-8, which JSON shows with U+FFFD.
  MakeSite(unreadable, "bad\xFF/", "htm", "Body text", 3);
  // Unreadable whoever runs the test: a link to the reading process's own
  // memory, whose first page is never mapped (read fails with EIO).
  ASSERT_EQ(::symlink("/proc/self/mem",
                      (unreadable.path() / "bad\xFF/page0.htm").c_str()),
            0);
  struct Case {
    std::string folder;
    int status;
  };
  const Case cases[] = {
      {good.path().string(), 0},
      {few.path().string(), 1},
      {good.path().string() + "/missing", 1},
      {(unreadable.path() / "bad\xFF").string(), 2},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> before = good.list();
    const Outcome text = RunCli({"--suggest", c.folder});
    const Outcome lines = RunCli({"--suggest", "--json", c.folder});
    EXPECT_EQ(good.list(), before);
    for (const Outcome* run : {&text, &lines}) {
      EXPECT_EQ(run->status, c.status) << c.folder << run->out << run->err;
      // The reason there is no suggestion, on standard error.
      EXPECT_EQ(run->err.empty(), c.status != 1) << c.folder << run->err;
    }
    if (c.status == 2) {
      // As a run tells the failure that ends it: the file and the reason.
      EXPECT_EQ(text.out.rfind("Unknown error occurred:\n", 0), 0u) << text.out;
      EXPECT_NE(text.out.find("/page0.htm"), std::string::npos) << text.out;
    } else {
      EXPECT_EQ(text.out.empty(), c.status != 0) << text.out;
    }

    const std::vector<json> objects = JsonLines(lines.out);
    ASSERT_FALSE(objects.empty()) << c.folder;
    const json& summary = objects.back();
    EXPECT_EQ(summary["type"], "summary");
    EXPECT_EQ(summary["suggestions"], objects.size() - 1);
    EXPECT_EQ(objects.size() > 1, c.status == 0) << lines.out;
    EXPECT_LE(objects.size(), 4u);
    EXPECT_EQ(summary["error"].is_string(), c.status == 2) << summary;
    EXPECT_EQ(summary["message"].is_string(), c.status != 2) << summary;
    for (std::size_t i = 0; i + 1 < objects.size(); ++i) {
      const json& suggestion = objects[i];
      EXPECT_EQ(suggestion["type"], "suggestion");
      EXPECT_EQ(suggestion["rank"], i + 1);
      EXPECT_EQ(suggestion["files"], 6);
      EXPECT_EQ(summary["files"], 6);
      EXPECT_TRUE(suggestion["start"].is_string() &&
                  suggestion["end"].is_string() &&
                  suggestion["regex"].is_boolean() &&
                  suggestion["preview"].is_string() &&
                  suggestion["median_length"].is_number_integer() &&
                  !suggestion["basis"].get<std::string>().empty())
          << suggestion;
      EXPECT_LE(suggestion["pieces"], 6);
      // The text report shows the same markers.
      EXPECT_NE(text.out.find(
                    cli::AnsiCQuoted(suggestion["start"].get<std::string>())),
                std::string::npos)
          << suggestion;
    }
  }
}

// Each printed command line, pasted into bash as it stands, gives the
// pieces that its suggestion promised: the markers' CR LF, tabs and quotes,
// the folder, and the options the suggestion was made with all reach the
// run exactly.
TEST(SuggestTest, PrintedCommandGivesThePiecesPromised) {
  struct Case {
    std::string folder;  // inside a fresh folder
    std::string ext;
    std::vector<std::string> options;
    std::string words;
  };
  const Case cases[] = {
      {"pages", "htm", {}, "Body text"},
      {"it's my site", "html", {"--ext", "html", "--recursive"}, "Body text"},
      {"pages ~$x",
       "htm",
       {"--charset", "utf-8"},
       "\xD9\x86\xD8\xB5 \xD8\xB9\xD8\xB1\xD8\xA8\xD9\x8A"},
      // Given as it stands, from the folder above it: a name that looks
      // like an option.
      {"-pages", "htm", {}, "Body text"},
  };
  for (const Case& c : cases) {
    TempFolder root;
    const bool recursive = c.options.size() > 2;
    MakeSite(root, c.folder + "/", c.ext, c.words, 3);
    MakeSite(root, c.folder + (recursive ? "/more/" : "/x"), c.ext, c.words, 3);
    const std::string folder = (root.path() / c.folder).string();
    const bool relative = c.folder.front() == '-';
    const std::string in_root =
        relative ? "cd " + cli::ShellWord(root.path().string()) + " && " : "";
    std::string typed = "vantrel-cli --suggest";
    for (const std::string& option : c.options) {
      typed += " " + cli::ShellWord(option);
    }
    typed += " -- " + cli::ShellWord(relative ? c.folder : folder);
    const Outcome suggested = Bash(in_root + typed);
    ASSERT_EQ(suggested.status, 0) << suggested.out;

    std::istringstream lines(suggested.out);
    int commands = 0, pieces = -1, files = -1;
    for (std::string line; std::getline(lines, line);) {
      if (const std::size_t at = line.find("gives a piece on ");
          at != std::string::npos) {
        ASSERT_EQ(std::sscanf(line.c_str() + at, "gives a piece on %d of %d",
                              &pieces, &files),
                  2)
            << line;
        continue;
      }
      if (line.rfind("   vantrel-cli ", 0) != 0) continue;
      ++commands;
      EXPECT_EQ(files, 6) << line;
      for (const std::string& option : c.options) {
        EXPECT_NE(line.find(" " + option), std::string::npos) << line;
      }
      const Outcome run = Bash(in_root + line);
      EXPECT_EQ(run.status, pieces == files ? 0 : 1) << line << run.out;
      const std::string summary = std::to_string(files) + " checked, " +
                                  std::to_string(files - pieces) +
                                  " didn't find.\n";
      EXPECT_TRUE(run.out.ends_with(summary)) << line << "\n" << run.out;
      std::filesystem::remove(folder + "/Export1." + c.ext);
    }
    EXPECT_GE(commands, 1) << suggested.out;
    EXPECT_LE(commands, 3) << suggested.out;
  }
}

}  // namespace
}  // namespace vantrel
