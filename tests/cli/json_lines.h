// The JSON Lines that vantrel-cli writes with --json, as objects.
#ifndef VANTREL_TESTS_CLI_JSON_LINES_H_
#define VANTREL_TESTS_CLI_JSON_LINES_H_

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace vantrel::testing {

// One object a line; a line that is not JSON throws, failing the test.
inline std::vector<nlohmann::json> JsonLines(const std::string& out) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(nlohmann::json::parse(line));
  }
  return lines;
}

}  // namespace vantrel::testing

#endif  // VANTREL_TESTS_CLI_JSON_LINES_H_
