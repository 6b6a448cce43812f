// vantrel-bench: how fast vantrel-cli goes through folders of saved pages,
// beside the fastest that any program could do the same job on this machine.
//
// For each corpus it writes the pages into a scratch folder, warms the page
// cache, and then takes turns: one run of vantrel-cli as a child process
// (whose peak memory the kernel reports), one run of the lower bound in this
// process (list the folder; one open, fstat, read and close per matching
// file; as many output bytes written as the real run wrote, into one open
// file), and one of the same lower bound opening, appending to and closing
// its output for each piece, as a run must: the bound the targets are set
// against. With --old-cli, an older vantrel-cli takes its turn too. On
// corpus A it also times runs through the window when the window is built.
// Every run starts with the outputs removed and the disk synced. The
// medians and their ratios go into tables. Then it times what near misses
// cost (without --quiet, and with --explain). Last, it times the search for
// the next free ExportN among 5,000 earlier outputs.
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "bench/corpus.h"
#include "extraction/output/output_writer.h"
#include "extraction/text/charsets.h"
#include "extraction/text/native_names.h"

extern char** environ;

namespace vantrel::bench {
namespace {

namespace stdfs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kMB = 1e6;
constexpr double kMiB = 1024.0 * 1024.0;

struct Corpus {
  std::string id;
  std::string title;
  CorpusSpec spec;
  double target_ratio;  // to the reopening lower bound
};

// The target for a run through the window, against vantrel-cli.
constexpr double kWindowTarget = 1.05;
// MB of pieces per second that a run with --text converts and writes.
constexpr double kTextTarget = 40;

std::vector<Corpus> AllCorpora() {
  CorpusSpec a;
  a.pages = 10000;
  a.page_bytes = 20000;
  a.encoding = Encoding::kUtf8;
  CorpusSpec b = a;
  b.pages = 200;
  b.page_bytes = 2000000;
  CorpusSpec c = a;
  c.encoding = Encoding::kWindows1256;
  CorpusSpec d = a;
  d.encoding = Encoding::kUtf16Le;
  d.sized_in = Encoding::kUtf8;  // the pages of A
  CorpusSpec e = a;
  e.pages = 5000;  // A's first half: the same pages, half as many
  return {
      {"A", "A: 10,000 pages x 20 KB, UTF-8", a, 1.0},
      {"B", "B: 200 pages x 2 MB, UTF-8", b, 1.5},
      {"C", "C: 10,000 pages x 20 KB, windows-1256", c, 1.0},
      {"D", "D: corpus A as UTF-16LE", d, 1.0},
      {"E", "E: the first 5,000 pages of A", e, 1.0},
  };
}

[[noreturn]] void Die(const std::string& what) {
  std::cerr << "vantrel-bench: " << what << '\n';
  std::exit(1);
}

[[noreturn]] void DieErrno(const std::string& what) {
  Die(what + ": " + std::strerror(errno));
}

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

struct Spread {
  double median = 0, min = 0, max = 0;
};

Spread SpreadOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  const double median =
      n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

bool HasExtension(std::string_view name, std::string_view extension) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view ext = name.substr(dot + 1);
  return std::equal(ext.begin(), ext.end(), extension.begin(), extension.end(),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

// How the lower bound writes its output.
enum class Output {
  kKeptOpen,  // one file open throughout: the plain lower bound
  kReopened,  // opened, appended to and closed for each piece, as a run must
};

// The fastest plain way through the same job: every matching file read with
// one read() into one buffer, and `output_bytes` written to one output file,
// a share after each source. Returns the wall time in seconds.
double LowerBound(const stdfs::path& folder, std::string_view extension,
                  std::uint64_t output_bytes, std::size_t largest,
                  std::size_t files, Output output) {
  const std::size_t share = files == 0 ? 0 : output_bytes / files;
  std::vector<char> buffer(largest + 1);
  std::vector<char> piece(
      share + output_bytes % std::max<std::size_t>(files, 1), 'x');
  const stdfs::path out_path = folder / "lower-bound.out";

  const Clock::time_point start = Clock::now();
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) DieErrno("cannot list " + folder.string());
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_type == DT_REG && HasExtension(entry->d_name, extension)) {
      names.emplace_back(entry->d_name);
    }
  }
  ::closedir(dir);
  const auto open_output = [&](int flags) {
    const int fd = ::open(out_path.c_str(), O_WRONLY | O_CREAT | flags, 0644);
    if (fd < 0) DieErrno("cannot open " + out_path.string());
    return fd;
  };
  int out = open_output(O_TRUNC);
  bool first = true;
  for (const std::string& name : names) {
    const int fd = ::open((folder / name).c_str(), O_RDONLY);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0) DieErrno("cannot open " + name);
    if (static_cast<std::size_t>(st.st_size) >= buffer.size()) {
      buffer.resize(static_cast<std::size_t>(st.st_size) + 1);
    }
    if (::read(fd, buffer.data(), buffer.size()) != st.st_size) {
      DieErrno("cannot read " + name);
    }
    ::close(fd);
    const std::size_t n = first ? piece.size() : share;
    first = false;
    if (output == Output::kReopened && out < 0) out = open_output(O_APPEND);
    if (::write(out, piece.data(), n) != static_cast<ssize_t>(n)) {
      DieErrno("cannot write " + out_path.string());
    }
    if (output == Output::kReopened) out = (::close(out), -1);
  }
  if (out >= 0) ::close(out);
  const double seconds = Seconds(Clock::now() - start);
  stdfs::remove(out_path);
  return seconds;
}

struct Tools {
  std::string cli;           // vantrel-cli, measured
  std::string old_cli;       // an older vantrel-cli beside it, or empty
  std::string run_child;     // vantrel-run-child, which starts it
  std::string window_bench;  // vantrel-window-bench, or empty
};

struct CliRun {
  double seconds = 0;
  double peak_mib = 0;
  int exit_status = -1;
  std::string stdout_text;
};

std::string ReadWhole(const stdfs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs args[0] with `args` and the file actions (which it destroys), waits
// for it, and stops the benchmark with the program's standard error unless
// it exits 0.
void RunToEnd(std::vector<std::string> args,
              posix_spawn_file_actions_t& actions,
              const std::string& err_path) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid;
  const int spawn_error =
      ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawn_error != 0) {
    errno = spawn_error;
    DieErrno("cannot start " + args[0]);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) DieErrno("cannot wait for " + args[0]);
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    Die(args[0] + " failed: " + ReadWhole(err_path));
  }
}

// One vantrel-cli run as a child process, started through vantrel-run-child
// so that its peak memory is its own; with --quiet unless `quiet` is false.
CliRun RunCli(const std::string& cli, const Tools& tools,
              const stdfs::path& folder, const stdfs::path& scratch,
              const std::vector<std::string>& options = {}, bool quiet = true) {
  const std::string out_path = (scratch / "cli-stdout.txt").string();
  const std::string err_path = (scratch / "cli-stderr.txt").string();
  const std::string result_path = (scratch / "cli-result.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> args = {tools.run_child, result_path, cli};
  if (quiet) args.push_back("--quiet");
  args.insert(args.end(), options.begin(), options.end());
  args.push_back(folder.string());
  RunToEnd(std::move(args), actions, err_path);
  CliRun run;
  long peak_kib = 0;
  std::istringstream(ReadWhole(result_path)) >> run.seconds >> peak_kib >>
      run.exit_status;
  run.peak_mib = static_cast<double>(peak_kib) / 1024;
  run.stdout_text = ReadWhole(out_path);
  if (run.exit_status != 0 && run.exit_status != 1) {
    Die(cli + " failed (status " + std::to_string(run.exit_status) +
        "): " + ReadWhole(err_path) + run.stdout_text);
  }
  return run;
}

// One run through the window in a child process; the seconds from the click
// on "GO!" to the run's end.
double RunWindowBench(const Tools& tools, const stdfs::path& folder,
                      const stdfs::path& scratch) {
  const std::string result_path = (scratch / "window-result.txt").string();
  const std::string err_path = (scratch / "window-stderr.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_path.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  RunToEnd({tools.window_bench, folder.string(), result_path}, actions,
           err_path);
  double seconds = 0;
  std::istringstream(ReadWhole(result_path)) >> seconds;
  return seconds;
}

// FNV-1a over a file, to tell at a glance whether two builds wrote the same
// output.
std::uint64_t Fingerprint(const stdfs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::uint64_t h = 0xCBF29CE484222325ULL;
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      h = (h ^ static_cast<unsigned char>(chunk[i])) * 0x100000001B3ULL;
    }
  }
  return h;
}

struct Row {
  const Corpus* corpus = nullptr;
  CorpusStats stats;
  Spread vantrel, lower_bound, reopening_bound;
  std::optional<Spread> window, old;
  double peak_mib = 0, old_peak_mib = 0;
  std::uint64_t output_bytes = 0, output_fingerprint = 0;
  std::optional<std::uint64_t> old_fingerprint;
  // The same run with --text, and the UTF-8 bytes of the pieces it
  // converts (the plain run's pieces written with --out-charset utf-8).
  Spread text;
  double text_peak_mib = 0;
  std::uint64_t piece_bytes = 0;
};

Row MeasureCorpus(const Corpus& corpus, const Tools& tools,
                  const stdfs::path& scratch, int rounds, bool with_window) {
  const stdfs::path folder = scratch / corpus.id;
  std::cerr << "corpus " << corpus.id << ": writing " << corpus.spec.pages
            << " pages..." << std::flush;
  Row row;
  row.corpus = &corpus;
  row.stats = WriteCorpus(corpus.spec, folder);
  // The new pages go to disk now rather than in the middle of a timed run.
  ::sync();
  std::cerr << " measuring..." << std::flush;
  const stdfs::path output = folder / ("Export1." + corpus.spec.extension);

  // A first run of each, untimed: pages in the cache, the real output's size
  // known, and the run checked against what the corpus holds.
  CliRun check = RunCli(tools.cli, tools, folder, scratch);
  const std::string summary = std::to_string(row.stats.pages) + " checked, " +
                              std::to_string(row.stats.pages_without_end) +
                              " didn't find.\n";
  if (!check.stdout_text.ends_with(summary)) {
    Die("corpus " + corpus.id + ": expected \"" + summary + "\", got \"" +
        check.stdout_text.substr(
            check.stdout_text.size() -
            std::min<std::size_t>(200, check.stdout_text.size())) +
        "\"");
  }
  row.output_bytes = stdfs::file_size(output);
  row.output_fingerprint = Fingerprint(output);
  stdfs::remove(output);
  RunCli(tools.cli, tools, folder, scratch, {"--out-charset", "utf-8"});
  row.piece_bytes = stdfs::file_size(output);
  stdfs::remove(output);
  const stdfs::path text_output = folder / "Export1.txt";
  if (!tools.old_cli.empty()) {
    RunCli(tools.old_cli, tools, folder, scratch);
    row.old_fingerprint = Fingerprint(output);
    stdfs::remove(output);
  }
  const auto files = static_cast<std::size_t>(row.stats.pages);
  const auto lower_bound = [&](Output how) {
    return LowerBound(folder, corpus.spec.extension, row.output_bytes,
                      row.stats.largest_page, files, how);
  };
  lower_bound(Output::kKeptOpen);

  // Each round runs every contender once; who goes first moves on by one
  // each round, so that none always meets a machine just woken by another.
  std::vector<double> vantrel, kept_open, reopened, window, old, text;
  std::vector<std::function<void()>> contenders = {
      [&] {
        const CliRun run = RunCli(tools.cli, tools, folder, scratch);
        vantrel.push_back(run.seconds);
        row.peak_mib = std::max(row.peak_mib, run.peak_mib);
      },
      [&] {
        const CliRun run =
            RunCli(tools.cli, tools, folder, scratch, {"--text"});
        text.push_back(run.seconds);
        row.text_peak_mib = std::max(row.text_peak_mib, run.peak_mib);
        stdfs::remove(text_output);
      },
      [&] { kept_open.push_back(lower_bound(Output::kKeptOpen)); },
      [&] { reopened.push_back(lower_bound(Output::kReopened)); },
  };
  if (!tools.old_cli.empty()) {
    contenders.push_back([&] {
      const CliRun run = RunCli(tools.old_cli, tools, folder, scratch);
      old.push_back(run.seconds);
      row.old_peak_mib = std::max(row.old_peak_mib, run.peak_mib);
    });
  }
  if (with_window) {
    contenders.push_back(
        [&] { window.push_back(RunWindowBench(tools, folder, scratch)); });
  }
  for (int r = 0; r < rounds; ++r) {
    for (std::size_t k = 0; k < contenders.size(); ++k) {
      // Each starts alike: no output left, nothing waiting to be written.
      stdfs::remove(output);
      ::sync();
      contenders[(r + k) % contenders.size()]();
    }
  }
  stdfs::remove(output);
  row.lower_bound = SpreadOf(kept_open);
  row.reopening_bound = SpreadOf(reopened);
  if (with_window) row.window = SpreadOf(window);
  if (!old.empty()) row.old = SpreadOf(old);
  row.vantrel = SpreadOf(vantrel);
  row.text = SpreadOf(text);
  stdfs::remove_all(folder);
  std::cerr << " done\n";
  return row;
}

// What near misses cost where they have the most to do: corpus A run with a
// start marker that no page holds in any form, so that every page is
// looked through once by the run and again by the near-miss checks. The
// run with --quiet looks for none; without it, the run looks for them to
// count them on standard error; --explain tells them file by file.
struct HintCost {
  Spread quiet, counted, explained;
};

// The targets for the two runs that look for near misses, against the run
// with --quiet.
constexpr double kCountedTarget = 1.25;
constexpr double kExplainedTarget = 2.0;

HintCost MeasureHintCost(const CorpusSpec& spec, const Tools& tools,
                         const stdfs::path& scratch, int rounds) {
  const stdfs::path folder = scratch / "explain";
  std::cerr << "near misses: writing " << spec.pages << " pages..."
            << std::flush;
  const CorpusStats stats = WriteCorpus(spec, folder);
  ::sync();
  const std::vector<std::string> missing = {
      "--start", "<Div id=\"E99\">\r\n   <p class=Matn>\r\n"};
  std::vector<std::string> explained = missing;
  explained.push_back("--explain");
  const CliRun check = RunCli(tools.cli, tools, folder, scratch, explained);
  const std::string summary = std::to_string(stats.pages) + " checked, " +
                              std::to_string(stats.pages) + " didn't find.\n";
  if (!check.stdout_text.ends_with(summary)) {
    Die("--explain: expected \"" + summary + "\"");
  }
  // The three take turns, who goes first moving on by one each round.
  const std::vector<std::function<double()>> runs = {
      [&] {
        return RunCli(tools.cli, tools, folder, scratch, missing).seconds;
      },
      [&] {
        return RunCli(tools.cli, tools, folder, scratch, missing, false)
            .seconds;
      },
      [&] {
        return RunCli(tools.cli, tools, folder, scratch, explained).seconds;
      },
  };
  std::vector<std::vector<double>> times(runs.size());
  for (int r = 0; r < rounds; ++r) {
    for (std::size_t k = 0; k < runs.size(); ++k) {
      const std::size_t which = (r + k) % runs.size();
      ::sync();
      times[which].push_back(runs[which]());
    }
  }
  stdfs::remove_all(folder);
  std::cerr << " done\n";
  return {SpreadOf(times[0]), SpreadOf(times[1]), SpreadOf(times[2])};
}

// The first write of a run in a folder that holds `taken` earlier outputs
// (files Export1.htm... and folders Export1...), in seconds.
Spread ExportSearch(const stdfs::path& scratch, int taken, bool separate,
                    int rounds) {
  const stdfs::path folder = scratch / "exports";
  stdfs::create_directories(folder);
  for (int n = 1; n <= taken; ++n) {
    const std::string name = "Export" + std::to_string(n);
    if (separate) {
      stdfs::create_directory(folder / name);
    } else {
      std::ofstream(folder / (name + ".htm"));
    }
  }
  const std::string next = "Export" + std::to_string(taken + 1);
  const std::u16string source_path = NativeToText(folder.string());
  std::vector<double> times;
  for (int r = 0; r < rounds; ++r) {
    const Clock::time_point start = Clock::now();
    OutputWriter(source_path, Charset::kUtf8, separate, u"htm")
        .WriteFile(std::u16string_view(u"piece"), u"page.htm");
    times.push_back(Seconds(Clock::now() - start));
    const stdfs::path made = folder / (separate ? next : next + ".htm");
    if (!stdfs::exists(made)) Die("the output writer did not make " + next);
    stdfs::remove_all(made);
  }
  stdfs::remove_all(folder);
  return SpreadOf(times);
}

std::string Fixed(double value, int decimals) {
  char s[64];
  std::snprintf(s, sizeof s, "%.*f", decimals, value);
  return s;
}

std::string MiB(double bytes) { return Fixed(bytes / kMiB, 1); }

std::string Seconds(const Spread& spread) {
  return Fixed(spread.min, 3) + " to " + Fixed(spread.max, 3) + " s";
}

std::string FingerprintText(std::uint64_t value) {
  char text[20];
  std::snprintf(text, sizeof text, "%016llx",
                static_cast<unsigned long long>(value));
  return text;
}

void PrintTables(const std::vector<Row>& rows, int rounds) {
  const bool with_old = !rows.empty() && rows.front().old.has_value();
  std::cout << "\nMedians of " << rounds
            << " runs each, the contenders taking turns, warm page cache, "
               "outputs removed and the disk synced before each run. The "
               "targets are set against the reopening lower bound.\n\n"
            << "| corpus | files | MB | reopening lower bound | Vantrel | "
               "MB/s | ratio | target |"
            << (with_old ? " Vantrel before | ratio before |" : "")
            << " peak memory |" << (with_old ? " before |" : "")
            << " memory limit |\n"
            << "|---|---:|---:|---:|---:|---:|---:|---:|"
            << (with_old ? "---:|---:|" : "") << "---:|"
            << (with_old ? "---:|" : "") << "---:|\n";
  for (const Row& row : rows) {
    const double mb = static_cast<double>(row.stats.page_bytes) / kMB;
    const double bound = row.reopening_bound.median;
    const double ratio = row.vantrel.median / bound;
    const double limit =
        3.0 * static_cast<double>(row.stats.largest_page) + 32 * kMiB;
    std::cout << "| " << row.corpus->title << " | " << row.stats.pages << " | "
              << Fixed(mb, 1) << " | " << Fixed(bound, 3) << " s | "
              << Fixed(row.vantrel.median, 3) << " s | "
              << Fixed(mb / row.vantrel.median, 0) << " | " << Fixed(ratio, 2)
              << " | " << Fixed(row.corpus->target_ratio, 1)
              << (ratio <= row.corpus->target_ratio ? " met" : " not met")
              << " | ";
    if (with_old) {
      std::cout << Fixed(row.old->median, 3) << " s | "
                << Fixed(row.old->median / bound, 2) << " | ";
    }
    std::cout << Fixed(row.peak_mib, 1) << " MiB | ";
    if (with_old) std::cout << Fixed(row.old_peak_mib, 1) << " MiB | ";
    std::cout << MiB(limit) << " MiB"
              << (row.peak_mib * kMiB <= limit ? "" : " EXCEEDED") << " |\n";
  }

  std::cout << "\nSpread (min to max); the plain lower bound, its output kept "
               "open, beside the reopening one; what each run wrote:\n\n"
            << "| corpus | Vantrel |" << (with_old ? " Vantrel before |" : "")
            << " reopening lower bound | ratio of fastest | lower bound "
               "(median) | ratio to it | lacking end marker | other files | "
               "output bytes | output FNV-1a |"
            << (with_old ? " before |" : "") << "\n"
            << "|---|---:|" << (with_old ? "---:|" : "")
            << "---:|---:|---:|---:|---:|---:|---:|---|"
            << (with_old ? "---|" : "") << "\n";
  for (const Row& row : rows) {
    std::cout << "| " << row.corpus->id << " | " << Seconds(row.vantrel)
              << " | ";
    if (with_old) std::cout << Seconds(*row.old) << " | ";
    std::cout << Seconds(row.reopening_bound) << " | "
              << Fixed(row.vantrel.min / row.reopening_bound.min, 2) << " | "
              << Fixed(row.lower_bound.median, 3) << " s ("
              << Seconds(row.lower_bound) << ") | "
              << Fixed(row.vantrel.median / row.lower_bound.median, 2) << " | "
              << row.stats.pages_without_end << " | " << row.stats.other_files
              << " | " << row.output_bytes << " | "
              << FingerprintText(row.output_fingerprint) << " |";
    if (with_old) {
      std::cout << " " << FingerprintText(*row.old_fingerprint)
                << (*row.old_fingerprint == row.output_fingerprint
                        ? " (same)"
                        : " DIFFERENT")
                << " |";
    }
    std::cout << "\n";
  }

  for (const Row& row : rows) {
    if (!row.window) continue;
    std::cout << "\nThrough the window, corpus " << row.corpus->id
              << " (from the click on GO! to the run's end; vantrel-cli's "
                 "time includes starting the program): "
              << Fixed(row.window->median, 3) << " s (" << Seconds(*row.window)
              << ") against vantrel-cli's " << Fixed(row.vantrel.median, 3)
              << " s: " << Fixed(row.window->median / row.vantrel.median, 2)
              << " x, target " << Fixed(kWindowTarget, 2)
              << (row.window->median / row.vantrel.median <= kWindowTarget
                      ? " met"
                      : " not met")
              << ".\n";
  }

  const Row* a = nullptr;
  const Row* e = nullptr;
  for (const Row& row : rows) {
    if (row.corpus->id == "A") a = &row;
    if (row.corpus->id == "E") e = &row;
  }
  if (a != nullptr && e != nullptr) {
    std::cout << "\nGrowth: " << e->stats.pages << " pages in "
              << Fixed(e->vantrel.median, 3) << " s, " << a->stats.pages
              << " pages in " << Fixed(a->vantrel.median, 3)
              << " s: " << Fixed(1e6 * e->vantrel.median / e->stats.pages, 1)
              << " and " << Fixed(1e6 * a->vantrel.median / a->stats.pages, 1)
              << " microseconds per page.\n";
  }

  std::cout << "\nWith --text (HTML to plain text, UTF-8), medians; MB of "
               "pieces: their UTF-8 bytes before conversion (target "
            << Fixed(kTextTarget, 0) << " MB/s).\n\n"
            << "| corpus | MB of pieces | plain run | --text | MB of pieces/s "
               "| target | peak memory |\n"
            << "|---|---:|---:|---:|---:|---:|---:|\n";
  for (const Row& row : rows) {
    const double rate =
        static_cast<double>(row.piece_bytes) / kMB / row.text.median;
    std::cout << "| " << row.corpus->id << " | "
              << Fixed(static_cast<double>(row.piece_bytes) / kMB, 1) << " | "
              << Fixed(row.vantrel.median, 3) << " s | "
              << Fixed(row.text.median, 3) << " s | " << Fixed(rate, 1) << " | "
              << (rate >= kTextTarget ? "met" : "not met") << " | "
              << Fixed(row.text_peak_mib, 1) << " MiB |\n";
  }
}

}  // namespace
}  // namespace vantrel::bench

int main(int argc, char** argv) {
  namespace vb = vantrel::bench;
  CLI::App app{
      "Measures vantrel-cli on made-up corpora A to E beside the lower bound "
      "(one read() per page and the same output volume written), and the "
      "search for the next free ExportN.",
      "vantrel-bench"};
#ifdef VANTREL_WINDOW_BENCH_PATH
  vb::Tools tools{VANTREL_CLI_PATH, "", VANTREL_RUN_CHILD_PATH,
                  VANTREL_WINDOW_BENCH_PATH};
#else
  vb::Tools tools{VANTREL_CLI_PATH, "", VANTREL_RUN_CHILD_PATH, ""};
#endif
  std::string corpora = "ABCDE";
  std::string work;
  int rounds = 5;
  double scale = 1.0;
  int exports = 5000;
  app.add_option("--cli", tools.cli, "vantrel-cli to measure")
      ->capture_default_str();
  app.add_option("--old-cli", tools.old_cli,
                 "An older vantrel-cli to measure beside it, in the same "
                 "rounds (its output is checked to be the same)");
  bool skip_window = false;
  app.add_option("--window-bench", tools.window_bench,
                 "vantrel-window-bench, to time runs through the window on "
                 "corpora A to D")
      ->capture_default_str();
  app.add_flag("--skip-window", skip_window, "Time no runs through the window");
  bool skip_explain = false;
  app.add_flag("--skip-explain", skip_explain,
               "Leave out the cost of near misses (without --quiet, and with "
               "--explain) on corpus A");
  app.add_option("--corpora", corpora, "Which corpora, of A to E")
      ->capture_default_str();
  app.add_option("--rounds", rounds, "Timed runs of each")
      ->capture_default_str()
      ->check(CLI::PositiveNumber);
  app.add_option("--scale", scale,
                 "Multiplies every corpus's page count (a quick try: 0.01)")
      ->capture_default_str()
      ->check(CLI::PositiveNumber);
  app.add_option("--exports", exports,
                 "Earlier outputs for the ExportN search (0: skip it)")
      ->capture_default_str();
  app.add_option("--work", work,
                 "Scratch folder (default: a new one in $TMPDIR or /tmp, "
                 "removed at the end); needs about 300 MB free");
  CLI11_PARSE(app, argc, argv);

  namespace stdfs = std::filesystem;
  stdfs::path scratch;
  if (work.empty()) {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") +
        "/vantrel-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) vb::DieErrno("mkdtemp");
    scratch = pattern;
  } else {
    scratch = work;
    stdfs::create_directories(scratch);
  }
  struct Cleanup {
    stdfs::path path;
    ~Cleanup() {
      std::error_code ignored;
      stdfs::remove_all(path, ignored);
    }
  } cleanup{work.empty() ? scratch : stdfs::path()};

  std::vector<vb::Corpus> all = vb::AllCorpora();
  std::vector<vb::Row> rows;
  for (vb::Corpus& corpus : all) {
    if (corpora.find(corpus.id) == std::string::npos) continue;
    corpus.spec.pages =
        std::max(1, static_cast<int>(corpus.spec.pages * scale + 0.5));
    const bool with_window =
        std::string_view("ABCD").find(corpus.id) != std::string_view::npos &&
        !skip_window && !tools.window_bench.empty();
    rows.push_back(
        vb::MeasureCorpus(corpus, tools, scratch, rounds, with_window));
  }
  vb::PrintTables(rows, rounds);

  if (!skip_explain) {
    vb::CorpusSpec spec = vb::AllCorpora().front().spec;  // corpus A
    spec.pages = std::max(1, static_cast<int>(spec.pages * scale + 0.5));
    const vb::HintCost cost = vb::MeasureHintCost(spec, tools, scratch, rounds);
    const double counted = cost.counted.median / cost.quiet.median;
    const double explained = cost.explained.median / cost.quiet.median;
    const auto verdict = [](double ratio, double target) {
      return " (target " + vb::Fixed(target, 2) +
             (ratio <= target ? ", met)" : ", not met)");
    };
    std::cout << "\nNear misses on corpus A with every page missing its start "
                 "marker (medians): "
              << vb::Fixed(cost.quiet.median, 3) << " s with --quiet, "
              << vb::Fixed(cost.counted.median, 3)
              << " s without it (counted for standard error), "
              << vb::Fixed(cost.explained.median, 3)
              << " s with --explain; without --quiet " << vb::Fixed(counted, 2)
              << " x" << verdict(counted, vb::kCountedTarget)
              << ", with --explain " << vb::Fixed(explained, 2) << " x"
              << verdict(explained, vb::kExplainedTarget) << ".\n";
  }

  if (exports > 0) {
    const vb::Spread files = vb::ExportSearch(scratch, exports, false, rounds);
    const vb::Spread folders = vb::ExportSearch(scratch, exports, true, rounds);
    std::cout << "\nFirst write of a run with " << exports
              << " earlier outputs (median, target under 50 ms): "
              << vb::Fixed(files.median * 1e3, 1) << " ms to find Export"
              << exports + 1 << ".htm, " << vb::Fixed(folders.median * 1e3, 1)
              << " ms to find the folder Export" << exports + 1 << ".\n";
  }
  return 0;
}
