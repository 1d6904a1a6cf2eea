#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace tavrin {

// One argument or option of a command, as the program's command line (cli/program.cpp) adds it.
struct CommandOption {
  // Where a given value goes: a text, a whole number, a list of texts (the option repeatable),
  // a text that may be left out, a switch turned on; or a function taking the value, or taking
  // nothing for a switch.
  using Target =
      std::variant<std::string*, int*, std::vector<std::string>*, std::optional<std::string>*,
                   bool*, std::function<void(const std::string&)>, std::function<void()>>;

  // "FILE" for an argument, "--sheet" or "-o,--output" for an option.
  std::string names;
  Target target;
  std::string help;
  bool required = false;
  // A whole number must lie within these, both included.
  std::optional<std::pair<int, int>> within = std::nullopt;
  // A text's check, named in the help: "" for a good text, else the message.
  std::string checkName = "";
  std::function<std::string(const std::string&)> check = nullptr;
  // The long name of an option added before this one that it cannot go with ("--output").
  std::string excludes = "";
};

// A command of the program: its name (and another name it answers to), what it does, its
// arguments and options in the order the help lists them, the help's last lines, and what runs
// once the line is parsed, returning the exit status.
struct CommandDescription {
  std::string name;
  std::string alias = "";
  std::string description;
  std::vector<CommandOption> options = {};
  std::string footer = "";
  std::function<int()> run;
};

}  // namespace tavrin
