// The script language: tokens, values and malformed lines.
#include <gtest/gtest.h>

#include <sstream>

#include "morlex/host/binding.h"
#include "morlex/host/script.h"

namespace morlex::host {
namespace {

TEST(ScriptTokens, QuotesAndEscapes) {
  const auto t = Tokenize(R"(  set ToolTipText "a \"b\" \\ c"   )");
  ASSERT_EQ(t.size(), 3U);
  EXPECT_EQ(t[0].text, "set");
  EXPECT_FALSE(t[0].quoted);
  EXPECT_EQ(t[2].text, R"(a "b" \ c)");
  EXPECT_TRUE(t[2].quoted);
  EXPECT_EQ(Tokenize("\"\"").at(0).text, "");
  for (const char* bad :
       {R"(set Text "open)", R"(set Text "bad \n escape")", R"(a"b)", R"("a"b)"}) {
    EXPECT_THROW(Tokenize(bad), std::invalid_argument) << bad;
  }
}

TEST(ScriptDates, IsoDates) {
  EXPECT_EQ(ParseIsoDate("2026-12-08"), (Date{2026, 12, 8}));
  EXPECT_EQ(ParseIsoDate("0100-01-01"), (Date{100, 1, 1}));
  for (const char* bad : {"2026-02-29", "0099-12-31", "2026-13-01", "2026-1-08", "20261208",
                          "2026-12-08x", "+026-12-08"}) {
    EXPECT_FALSE(ParseIsoDate(bad).has_value()) << bad;
  }
}

// A malformed line stops the run with its number; lines before it have run.
TEST(ScriptErrors, MalformedLinesNameTheirNumber) {
  struct Case {
    const char* script;
    int line;
  } const cases[] = {
      {"new\nfrobnicate\n", 2},
      {"new\nset Text\n", 2},
      {"new\nset Text 1 2\n", 2},
      {"new\nset Text abc\n", 2},
      {"new\ncaret -1\n", 2},
      {"new\nspin sideways\n", 2},
      {"new\nhost canchange maybe\n", 2},
      {"today 2026-02-30\n", 1},
      {"# comment\n\nget Text\n", 3},  // no control yet
      {"new\nkey 70000\n", 2},
      {"new\nresize 10 abc\n", 2},
      {"new\nbag Text string unquoted\n", 2},
      {"new\ncalendar month\n", 2},
      {"new\ncalendar cell 42\n", 2},
      {"new\ncalendar dance\n", 2},
      {"new\n\"new\"\n", 2},
  };
  for (const auto& c : cases) {
    auto binding = MakeHeadlessBinding();
    std::ostringstream out;
    ScriptRunner runner(*binding, out);
    std::istringstream in(c.script);
    try {
      runner.Run(in);
      ADD_FAILURE() << "no error for: " << c.script;
    } catch (const ScriptError& e) {
      EXPECT_EQ(e.line(), c.line) << c.script;
    }
  }
}

TEST(ScriptErrors, ControlFailuresArePrintedAndTheRunGoesOn) {
  auto binding = MakeHeadlessBinding();
  std::ostringstream out;
  ScriptRunner runner(*binding, out);
  std::istringstream in("new\nset Width \"abc\"\nget Width\n");
  runner.Run(in);
  EXPECT_EQ(out.str(), "error \"Type mismatch\"\nWidth = 1635\n");
}

}  // namespace
}  // namespace morlex::host
