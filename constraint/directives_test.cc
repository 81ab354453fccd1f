// The directive section with directives on: each kind of field and check
// once, the module tail at its edges, and the lists.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "constraint/read_testing.h"

// The records name only the fields the directive fills.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

std::string readDirectives(ConstraintStore& store, const std::string& lines) {
  return readPrinting(store, "$def_directive\n" + lines + "\n");
}

using enum DirectiveKind;
using std::nullopt;

// Read as one file: each list holds the newest first, each record the line its directive ends on.
TEST(Directives, EachKindOfFieldIsStored) {
  const std::vector<std::tuple<std::string, DirectiveKind, DirectiveRecord>> directives = {
      {"muladd_var a.c;f;v; extra", muladd_var, {"a.c", "f", "v"}},
      {"unmodule a.c f", unmodule, {"a.c", "f"}},
      {"unmodule a.c f fixed", unmodule, {"a.c", "f", nullopt, "fixed"}},
      {"unroll a.c f func x", unroll, {"a.c", "f", nullopt, "func"}},
      {"scale a.c f v -1.5", scale, {"a.c", "f", "v", "-1.5"}},
      {"scale b.c \\\n g w 16", scale, {"b.c", "g", "w", "16"}},
      {"int a.c f v  range 0 to 9;rest", int_, {"a.c", "f", "v", " range 0 to 9"}},
      {"module a.c f =", module, {"a.c", "f"}},  // no words in the tail
      {"module a.c f  P Q", module, {"a.c", "f", nullopt, "prefix= P"}},
      {"module a.c f evfunc E prefix = P;x", module, {"a.c", "f", nullopt, "prefix=P evfunc=E"}},
      {"module a.c f evfunc=E", module, {"a.c", "f", nullopt, "evfunc=E"}},
      {"module a.c f W prefix=P prefix=Q\tprefix=R", module, {"a.c", "f", nullopt, "prefix=Q"}},
      {"module a.c f a b c d e f prefix x y", module, {"a.c", "f", nullopt, "prefix=x y"}},
      {"module a.c f a b c d e f g prefix=X", module, {"a.c", "f", nullopt, "prefix=a"}},
  };
  std::string text;
  ConstraintStore expected;
  int32_t lineNumber = 1;
  for (auto [line, kind, record] : directives) {
    text += line + "\n";
    record.line = lineNumber += 1 + static_cast<int32_t>(std::count(line.begin(), line.end(), '\n'));
    directiveList(expected, kind).push_front(record);
  }
  ConstraintStore store;
  EXPECT_EQ(readDirectives(store, text), "");
  EXPECT_EQ(store.directives, expected.directives);
}

TEST(Directives, AMissingOrWrongFieldRejectsWithItsUsageText) {
  for (const auto& [line, usage] : std::vector<std::pair<std::string, std::string>>{
           {"unmodule", "ummodule directive <fileName>"},
           {"unroll a.c f Loop", "unroll directive <loop|func>"},
           {"unmodule a.c f Float", "unmodule directive <float | fixed>"},
           {"scale a.c f v 8bit", "scale directive <bitSize>"},
           {"module a.c f prefix", "module directive prefix=<string>"},
           {"module a.c f P evfunc =", "module directive evfunc=<funcName>"},
       }) {
    ConstraintStore store;
    EXPECT_EQ(readDirectives(store, line), syntaxError(2, usage)) << line;
    EXPECT_EQ(store.directives, ConstraintStore{}.directives) << line;
  }
}

}  // namespace
