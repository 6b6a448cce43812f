// vantrel-cli: one extraction run from a terminal, for scripts and batch
// work. It takes the window's inputs as options, prints the run's log, the
// output's path and the summary, and tells the outcome by its exit status.
// With --suggest it finds the markers for a folder instead, and prints them.
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "cli/cli_report.h"
#include "cli/command_line.h"
#include "cli/report_stream.h"
#include "cli/suggest_report.h"
#include "extraction/nothing_read.h"
#include "extraction/run.h"
#include "extraction/stop_signals.h"
#include "extraction/text/native_names.h"
#include "extraction/text/text.h"

namespace {

namespace vc = vantrel::cli;

// Whether a run ended normally without reading any file: no file in the
// folder has any of the extensions.
bool ReadNothing(const vantrel::RunResult& result) {
  return result.end == vantrel::RunResult::End::kNormal && result.matching == 0;
}

// Why a run read no file, for a folder in which no file has any of the
// extensions: the folder, the extensions, and the likeliest slip, a dot;
// or a list that names no file.
std::string NoFilesRead(const vantrel::FileSelection& files) {
  if (const vantrel::FileList* list = files.file_list()) {
    return "vantrel-cli: --files-from " + list->from + " names no file";
  }
  if (const vantrel::WebArchive* archive = files.web_archive()) {
    return "vantrel-cli: the web archive " + archive->path +
           " holds no HTML page";
  }
  std::string line = "vantrel-cli: " +
                     vantrel::TextToUtf8(vantrel::NoFileHasTheExtension(files));
  if (const auto without_dots = vantrel::ExtensionsWithoutDots(files)) {
    line += "; --ext takes extensions without their dot: --ext " +
            vantrel::TextToUtf8(*without_dots);
  }
  return line;
}

// Tells the user that the report was lost, and why.
int ReportLost(int error_number) {
  std::cerr << "vantrel-cli: cannot write standard output: "
            << std::strerror(error_number) << '\n';
  return vc::kExitTrapped;
}

// Prints what a command line that ends before any run has to say.
int Exit(const vc::EarlyExit& early) {
  if (early.status != vc::kExitClean) {
    std::cerr << early.err;
    return early.status;
  }
  std::cout << early.out;
  if (!std::cout.flush()) return ReportLost(errno != 0 ? errno : EIO);
  return early.status;
}

// Runs the extraction the request asks for into the report it asks for,
// and tells on standard error what follows the report.
vantrel::RunResult Run(const vc::CliRequest& request, vc::ReportStream& out) {
  std::FILE* progress = request.progress ? stderr : nullptr;
  std::unique_ptr<vc::CliReport> report;
  if (request.json) {
    report = std::make_unique<vc::JsonReport>(out, progress);
  } else {
    report = std::make_unique<vc::TextReport>(out, progress, request.explain);
  }
  const vantrel::RunResult result =
      vantrel::RunExtraction(request.inputs, request.options, *report);
  report->Finish(result, request.options.dry_run);

  if (!request.explain && !request.quiet) {
    for (const std::string& line : report->near_misses().Lines()) {
      std::cerr << line << '\n';
    }
  }
  if (ReadNothing(result)) {
    std::cerr << NoFilesRead(request.inputs.files) << '\n';
  }
  return result;
}

// The exit status that tells how the run ended; a lost report is told on
// standard error first.
int ExitStatus(const vantrel::RunResult& result, const vc::ReportStream& out) {
  if (out.error() != 0) return ReportLost(out.error());
  if (result.end == vantrel::RunResult::End::kErrorTrap ||
      result.unreadable > 0) {
    return vc::kExitTrapped;
  }
  if (result.end == vantrel::RunResult::End::kInputRejected ||
      result.failures > 0 || ReadNothing(result)) {
    return vc::kExitFailures;
  }
  return vc::kExitClean;
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that goes away must not end the run halfway through its
  // pieces: a write to it fails with EPIPE instead, like any other.
  std::signal(SIGPIPE, SIG_IGN);

  const auto parsed = vc::ParseCommandLine(argc, argv);
  if (const auto* early = std::get_if<vc::EarlyExit>(&parsed)) {
    return Exit(*early);
  }
  const auto& request = std::get<vc::CliRequest>(parsed);
  vc::ReportStream out(STDOUT_FILENO);
  if (request.suggestion) {
    const int status =
        vc::SuggestAndReport(*request.suggestion, request.json, out);
    return out.error() != 0 ? ReportLost(out.error()) : status;
  }
  // A run stops on SIGINT, SIGTERM or SIGHUP with whole pieces, tells its
  // log and summary, and then ends as the signal would.
  vantrel::CatchStopSignals();
  const vantrel::RunResult result = Run(request, out);
  const int status = ExitStatus(result, out);
  if (const int stop_signal = vantrel::StopSignalReceived()) {
    std::cerr.flush();
    vantrel::EndAsSignalled(stop_signal);
  }
  return status;
}
