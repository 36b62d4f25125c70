// Runs nodalis-cli (NODALIS_CLI_PATH) as a child process for the end-to-end
// tests of the command-line tool.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace cli_test {

struct Result {
  int code;
  std::string out;
};

// Runs nodalis-cli with the given arguments (stderr into stdout when asked;
// the tool's standard output into the file stdout_to when given).
inline Result Cli(const std::string& args, bool with_stderr = false,
                  const std::string& stdout_to = "") {
  const std::string cmd = std::string("'") + NODALIS_CLI_PATH + "' " + args +
                          (with_stderr ? " 2>&1" : " 2>/dev/null") +
                          (stdout_to.empty() ? "" : " >" + stdout_to);
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return {-1, ""};
  std::string out;
  std::array<char, 4096> buf;
  std::size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) out.append(buf.data(), n);
  const int status = pclose(p);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

inline std::vector<std::string> Lines(const std::string& s) {
  std::vector<std::string> v;
  std::istringstream in(s);
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}

}  // namespace cli_test
