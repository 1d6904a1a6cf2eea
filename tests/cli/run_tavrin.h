#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace tavrin {

// What a run of the tavrin program gave: its exit status (128 + the signal for a process a
// signal ended, 124 for one that ran past its time), standard output and standard error.
struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// A text as one word of the shell's command line.
inline std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs the tavrin program with the arguments (a shell command line) and its standard input not
// a terminal, stopped after 60 seconds.
inline Outcome Tavrin(const std::string& arguments) {
  // ctest runs tests in parallel processes: each run its own file.
  static int runs = 0;
  std::filesystem::path errors =
      std::filesystem::temp_directory_path() /
      ("tavrin-test-stderr-" + std::to_string(::getpid()) + "-" + std::to_string(++runs) + ".txt");
  std::string command = "timeout 60 " + std::string(TAVRIN_BINARY) + " " + arguments +
                        " </dev/null 2>" + errors.string();
  Outcome outcome{0, "", ""};
  FILE* pipe = popen(command.c_str(), "r");
  std::array<char, 4096> buffer;
  size_t read;
  while ((read = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
    outcome.out.append(buffer.data(), read);
  }
  int status = pclose(pipe);
  outcome.status = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
  std::ifstream in(errors);
  outcome.err.assign(std::istreambuf_iterator<char>(in), {});
  std::filesystem::remove(errors);
  return outcome;
}

}  // namespace tavrin
