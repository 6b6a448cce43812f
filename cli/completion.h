// Shell completion scripts for vantrel-cli, made from its own option table,
// so that what the shells offer is always what --help lists: the options'
// names, the choices of those that take one of a set of values, files
// after options that read a FILE, and folders for FOLDER.
#ifndef VANTREL_CLI_COMPLETION_H_
#define VANTREL_CLI_COMPLETION_H_

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel::cli {

// The script for `shell` ("bash", "zsh" or "fish"); nothing for another.
std::optional<std::string> CompletionScript(const CLI::App& app,
                                            std::string_view shell);

}  // namespace vantrel::cli

#endif  // VANTREL_CLI_COMPLETION_H_
