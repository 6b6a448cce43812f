#include "cli/completion.h"

#include <sstream>
#include <vector>

namespace vantrel::cli {
namespace {

// What an option's value completes to.
enum class Value { kNone, kText, kChoice, kFile, kFolder };

// One option of the table, as the scripts need it.
struct Entry {
  std::vector<std::string> names;  // "--start", "-h"
  std::string summary;             // the help text up to its first detail
  Value value = Value::kNone;
  std::vector<std::string> choices;
};

// The set an option's validator allows, from the "{a,b}" that CLI11's
// IsMember adds to the option's type name, as --help shows it.
std::vector<std::string> Choices(const CLI::Option& option) {
  const std::string type = option.get_type_name();
  const auto open = type.find('{');
  const auto close = type.find('}', open);
  std::vector<std::string> choices;
  if (open == std::string::npos || close == std::string::npos) return choices;
  std::istringstream list(type.substr(open + 1, close - open - 1));
  for (std::string choice; std::getline(list, choice, ',');) {
    choices.push_back(choice);
  }
  return choices;
}

// The help text's first clause, with none of the characters that the
// scripts' quoting would have to escape.
std::string Summary(const std::string& description) {
  std::string summary;
  for (const char c : description) {
    if (c == ';' || c == '(' || c == '\n') break;
    if (c == '\'' || c == '"' || c == '[' || c == ']' || c == '\\' ||
        c == '`' || c == '$' || c == ':') {
      continue;
    }
    summary += c;
  }
  while (!summary.empty() && summary.back() == ' ') summary.pop_back();
  return summary;
}

std::vector<Entry> Entries(const CLI::App& app, Entry& folder) {
  std::vector<Entry> entries;
  for (const CLI::Option* option : app.get_options()) {
    if (option->get_positional()) {
      folder.summary = Summary(option->get_description());
      folder.value = Value::kFolder;
      continue;
    }
    Entry entry;
    for (const std::string& name : option->get_lnames()) {
      entry.names.push_back("--" + name);
    }
    for (const std::string& name : option->get_snames()) {
      entry.names.push_back("-" + name);
    }
    entry.summary = Summary(option->get_description());
    if (option->get_items_expected_max() > 0) {
      entry.choices = Choices(*option);
      if (!entry.choices.empty()) {
        entry.value = Value::kChoice;
      } else if (option->get_type_name() == "FILE") {
        entry.value = Value::kFile;
      } else if (option->get_type_name() == "DIR") {
        entry.value = Value::kFolder;
      } else {
        entry.value = Value::kText;
      }
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string Joined(const std::vector<std::string>& items, const char* between) {
  std::string joined;
  for (const std::string& item : items) {
    if (!joined.empty()) joined += between;
    joined += item;
  }
  return joined;
}

std::string Bash(const std::vector<Entry>& entries) {
  std::ostringstream script;
  std::vector<std::string> names;
  script << "# bash completion for vantrel-cli, made by "
            "`vantrel-cli --completion bash`.\n"
            "_vantrel_cli() {\n"
            "  local cur=${COMP_WORDS[COMP_CWORD]}\n"
            "  local prev=${COMP_WORDS[COMP_CWORD-1]}\n"
            "  case $prev in\n";
  for (const Entry& entry : entries) {
    names.insert(names.end(), entry.names.begin(), entry.names.end());
    if (entry.value == Value::kNone) continue;
    script << "    " << Joined(entry.names, "|") << ")\n      ";
    switch (entry.value) {
      case Value::kChoice:
        script << "COMPREPLY=($(compgen -W '" << Joined(entry.choices, " ")
               << "' -- \"$cur\"))";
        break;
      case Value::kFile:
        script << "compopt -o filenames; COMPREPLY=($(compgen -f -- \"$cur\"))";
        break;
      case Value::kFolder:
        script << "compopt -o filenames; COMPREPLY=($(compgen -d -- \"$cur\"))";
        break;
      default:
        script << "COMPREPLY=()";
        break;
    }
    script << "\n      return;;\n";
  }
  script << "  esac\n"
            "  if [[ $cur == -* ]]; then\n"
            "    COMPREPLY=($(compgen -W '"
         << Joined(names, " ")
         << "' -- \"$cur\"))\n"
            "  else\n"
            "    compopt -o filenames\n"
            "    COMPREPLY=($(compgen -d -- \"$cur\"))\n"
            "  fi\n"
            "}\n"
            "complete -F _vantrel_cli vantrel-cli\n";
  return script.str();
}

std::string Zsh(const std::vector<Entry>& entries, const Entry& folder) {
  std::ostringstream script;
  script << "#compdef vantrel-cli\n"
            "# zsh completion for vantrel-cli, made by "
            "`vantrel-cli --completion zsh`.\n"
            "_arguments -s \\\n";
  for (const Entry& entry : entries) {
    const bool ends_all =
        entry.names.front() == "--help" || entry.names.front() == "--version";
    const std::string exclusion = ends_all ? "(- *)" : "";
    std::string spec;
    switch (entry.value) {
      case Value::kNone:
        spec = "[" + entry.summary + "]";
        break;
      case Value::kChoice:
        spec = "=[" + entry.summary + "]:value:(" + Joined(entry.choices, " ") +
               ")";
        break;
      case Value::kFile:
        spec = "=[" + entry.summary + "]:file:_files";
        break;
      case Value::kFolder:
        spec = "=[" + entry.summary + "]:folder:_files -/";
        break;
      default:
        spec = "=[" + entry.summary + "]:text: ";
        break;
    }
    for (const std::string& name : entry.names) {
      const bool long_name = name.size() > 2;
      std::string name_spec = name + spec;
      // A short option takes its value as the next word only.
      if (!long_name && entry.value != Value::kNone) {
        name_spec = name + spec.substr(1);
      }
      script << "  '" << exclusion << name_spec << "' \\\n";
    }
  }
  script << "  ':" << folder.summary << ":_files -/'\n";
  return script.str();
}

std::string Fish(const std::vector<Entry>& entries, const Entry& folder) {
  std::ostringstream script;
  script << "# fish completion for vantrel-cli, made by "
            "`vantrel-cli --completion fish`.\n"
            "complete -c vantrel-cli -f\n";
  for (const Entry& entry : entries) {
    script << "complete -c vantrel-cli";
    for (const std::string& name : entry.names) {
      script << (name.size() > 2 ? " -l " + name.substr(2)
                                 : " -s " + name.substr(1));
    }
    switch (entry.value) {
      case Value::kNone:
        break;
      case Value::kChoice:
        script << " -x -a '" << Joined(entry.choices, " ") << "'";
        break;
      case Value::kFile:
        script << " -r -F";
        break;
      case Value::kFolder:
        script << " -x -a '(__fish_complete_directories)'";
        break;
      default:
        script << " -x";
        break;
    }
    script << " -d '" << entry.summary << "'\n";
  }
  script << "complete -c vantrel-cli -a '(__fish_complete_directories)' -d '"
         << folder.summary << "'\n";
  return script.str();
}

}  // namespace

std::optional<std::string> CompletionScript(const CLI::App& app,
                                            std::string_view shell) {
  Entry folder;
  const std::vector<Entry> entries = Entries(app, folder);
  if (shell == "bash") return Bash(entries);
  if (shell == "zsh") return Zsh(entries, folder);
  if (shell == "fish") return Fish(entries, folder);
  return std::nullopt;
}

}  // namespace vantrel::cli
