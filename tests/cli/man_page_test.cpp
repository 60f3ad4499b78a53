#include "cli/man_page.h"

#include <gtest/gtest.h>

#include <sstream>

namespace cindral::cli {
namespace {

TEST(ManPage, ListsEveryCommandAndOptionOfTheTablesAsLiteralText) {
    CliApp app(nullptr);
    const std::vector<OptionDef> passes{{"--passes", "N", "passes"}},
        all{{"--all", "", "every one"}};
    app.addCommand({"wipe", "[ITEM...]", ".dat files below C:\\Data", passes, true, nullptr});
    app.addCommand({"list", "", "'quoted' names, a.b 'c'", all, true, nullptr});
    std::ostringstream page;
    writeManPage(app, page);
    const std::string text = page.str();
    for (const char* expected :
         {".BI \"wipe \" \"[ITEM...]\"\n\\&.dat files below C:\\eData\n",
          ".BI \"\\-\\-passes \" \"N\"\npasses\n", ".B list\n\\&'quoted' names, a.b 'c'\n",
          ".B \\-\\-all\nevery one\n", ".BI \"\\-\\-registry \" \"FILE\"\n",
          ".SH EXIT STATUS\n.TP\n.B 0\n"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\nin:\n" << text;
    }
}

}  // namespace
}  // namespace cindral::cli
