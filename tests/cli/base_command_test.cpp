#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/program.h"

namespace tavrin {
namespace {

struct Printed {
  int status;
  std::string out;
};

// Runs `tavrin base` with the arguments after the command's name.
Printed Base(const std::string& arguments) {
  std::ostringstream out, messages;
  CommandContext context{out, messages, false, false};
  std::vector<std::string> words = {"base"};
  std::istringstream text(arguments);
  for (std::string word; text >> word;) words.push_back(word);
  int status = RunCommands({BaseCommand(context)}, words, context);
  return {status, out.str()};
}

TEST(BaseCommand, PrintsWholeNumbersInFullUpToTwoToThe53) {
  EXPECT_EQ(Base("1FFFFFFFFFFFFF --from 16 --to 10").out, "9007199254740991\n");
  EXPECT_EQ(Base("9007199254740993 --from 10 --to 10").out, "9007199254740992\n")
      << "the nearest double";
  EXPECT_EQ(Base("FFFFFFFFFFFFFFFF --from 16 --to 10").out, "1.84467440737096E+19\n")
      << "past 2^53 a double no longer holds every whole number";
  EXPECT_EQ(Base("0 --from 2 --to 10").out, "0\n");
}

TEST(BaseCommand, ANumberPastADoubleGivesTheConversionsMessage) {
  Printed printed = Base("1" + std::string(400, '0') + " --from 10 --to 16");
  EXPECT_EQ(printed.out, "在该进制下，参数中含有非法字符\n");
  EXPECT_EQ(printed.status, 1);
  EXPECT_EQ(Base(std::string(300, 'F') + " --from 16 --to 2").status, 1);
  EXPECT_EQ(Base("101 --from 2 --to 2 --group 2000000000").status, 1);
}

}  // namespace
}  // namespace tavrin
