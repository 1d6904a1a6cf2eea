#include <cmath>
#include <memory>
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/terminal_runtime.h"
#include "host/variant_rules.h"
#include "session/host_session.h"

namespace tavrin {

namespace {

struct BaseOptions {
  std::string number;
  int from = 10;
  int to = 10;
  int group = 0;
};

// A result in base 10 in full up to 2^53, up to which a double holds every whole number
// exactly; past it, and for digits and messages, as the runtime prints the value.
std::string ResultText(const Variant& result, const UserLocale& locale) {
  constexpr double kExactWholes = 9007199254740992.0;
  if (result.IsNumber() && std::fabs(result.AsNumber()) <= kExactWholes) {
    return std::to_string(static_cast<long long>(result.AsNumber()));
  }
  return TextOf(result, locale);
}

// The conversion answers digits, or one of its messages.
bool IsMessage(const Variant& result) {
  return result.IsText() &&
         result.AsText().find_first_not_of("0123456789ABCDEF,") != std::string::npos;
}

// Converts the number and prints the result; a message of the conversion exits with 1.
int ConvertBase(const BaseOptions& options, CommandContext& context) {
  Spreadsheet spreadsheet;
  TerminalRuntime runtime(context.messages, Answering::No, false);
  runtime.SetRunningApplication(spreadsheet);
  HostSession session(spreadsheet, runtime);
  Variant result = session.Component().BaseToBase(
      Variant(options.number), static_cast<std::uint8_t>(options.from),
      static_cast<std::uint8_t>(options.to), Variant(options.group));
  context.out << ResultText(result, runtime.Locale()) << '\n';
  return IsMessage(result) ? 1 : 0;
}

}  // namespace

CommandDescription BaseCommand(CommandContext& context) {
  auto options = std::make_shared<BaseOptions>();
  return {
      .name = "base",
      .alias = "BaseToBase",
      .description = "Convert a whole number between bases 2 to 16 (BaseToBase)",
      .options =
          {
              {.names = "NUMBER",
               .target = &options->number,
               .help = "The number, written in the --from base",
               .required = true},
              {.names = "--from",
               .target = &options->from,
               .help = "Base the number is written in (2-16)",
               .within = std::pair(0, 255)},
              {.names = "--to",
               .target = &options->to,
               .help = "Base to write it in (2-16)",
               .within = std::pair(0, 255)},
              {.names = "--group",
               .target = &options->group,
               .help = "Digits per comma-separated group (0: no grouping)"},
          },
      .footer = "Example: tavrin base FF --from 16 --to 2 --group 4   prints 1111,1111",
      .run = [options, &context] { return ConvertBase(*options, context); },
  };
}

}  // namespace tavrin
