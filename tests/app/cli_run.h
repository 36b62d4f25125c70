// Runs nodalis-cli (NODALIS_CLI_PATH) as a child process for the end-to-end
// tests of the command-line tool.
#pragma once

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

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

// Runs nodalis-cli on a pseudo-terminal, its standard output to /dev/null
// and its standard error on the terminal: what the terminal received and
// the exit code (-1 when the tool did not exit normally).
inline Result CliOnTerminal(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(NODALIS_CLI_PATH));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int master = -1;
  const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid < 0) return {-1, ""};
  if (pid == 0) {
    if (!std::freopen("/dev/null", "w", stdout)) _exit(127);
    execv(NODALIS_CLI_PATH, argv.data());
    _exit(127);
  }
  std::string terminal;
  char buf[256];
  for (;;) {
    const ssize_t n = read(master, buf, sizeof buf);
    if (n > 0) terminal.append(buf, static_cast<std::size_t>(n));
    else if (n < 0 && errno == EINTR) continue;
    else break;  // EIO once the child has closed the terminal
  }
  close(master);
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return {-1, terminal};
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, terminal};
}

inline std::vector<std::string> Lines(const std::string& s) {
  std::vector<std::string> v;
  std::istringstream in(s);
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}

}  // namespace cli_test
