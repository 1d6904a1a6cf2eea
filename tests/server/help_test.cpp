#include "server/server_fixture.h"

namespace tavrin {
namespace {

// The page's help speaks the page's language: every tool of every dialog with each of its
// fields by its label, and an example, with nothing of the command line's options.
TEST_F(ServerTest, TheHelpExplainsEveryFieldOfEveryDialogInChinese) {
  std::string help = Post("/api/action", {{"action", "Tavrin.xls!MyHelp"}}).body["help"];
  EXPECT_EQ(help.find("--"), std::string::npos);
  EXPECT_EQ(help.find("The "), std::string::npos);
  size_t tools = 0;
  for (const char* macro : {"F2", "F3", "F4", "F5", "F7", "F8"}) {
    json dialog = Post("/api/action", {{"action", std::string("Tavrin.xls!") + macro}}).body;
    for (const json& page : dialog["dialog"]["pages"]) {
      ++tools;
      EXPECT_NE(help.find("<h3>" + page["caption"].get<std::string>() + "</h3>"), std::string::npos)
          << page["caption"];
      for (const json& field : page["fields"]) {
        std::string label = field.value("groupLabel", field["label"].get<std::string>());
        EXPECT_NE(help.find("<dt>" + label + "</dt>"), std::string::npos) << label;
      }
    }
  }
  EXPECT_EQ(tools, 10u);
  size_t examples = 0;
  for (size_t at = 0; (at = help.find("<b>示例：</b>", at)) != std::string::npos; ++at) ++examples;
  EXPECT_EQ(examples, tools);
}

}  // namespace
}  // namespace tavrin
