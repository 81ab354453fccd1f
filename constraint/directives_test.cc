// The directive section with directives on: each kind of field and check
// once, the module tail at its edges, the lists, and releasing the store.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "constraint/read_testing.h"

namespace {

std::string readDirectives(ConstraintStore& store, const std::string& lines) {
  return readPrinting(store, "$def_directive\n" + lines + "\n");
}

using enum DirectiveKind;
using std::nullopt;

struct Stored {
  std::string line;
  DirectiveKind kind;
  DirectiveRecord record;
};

const std::vector<Stored> kStored = {
    {"roll a.c f extra", roll, {"a.c", "f", nullopt, nullopt, 2}},
    {"muladd_var a.c;f;v;", muladd_var, {"a.c", "f", "v", nullopt, 2}},
    {"unmodule a.c f", unmodule, {"a.c", "f", nullopt, nullopt, 2}},
    {"unmodule a.c f fixed", unmodule, {"a.c", "f", nullopt, "fixed", 2}},
    {"unroll a.c f loop", unroll, {"a.c", "f", nullopt, "loop", 2}},
    {"unroll a.c f func x", unroll, {"a.c", "f", nullopt, "func", 2}},
    {"scale a.c f v -1.5", scale, {"a.c", "f", "v", "-1.5", 2}},
    {"int a.c f v  range 0 to 9;rest", int_, {"a.c", "f", "v", " range 0 to 9", 2}},
    {"module a.c f", module, {"a.c", "f", nullopt, nullopt, 2}},
    {"module a.c f  P Q", module, {"a.c", "f", nullopt, "prefix= P", 2}},
    {"module a.c f evfunc E prefix = P;x", module, {"a.c", "f", nullopt, "prefix=P evfunc=E", 2}},
    {"module a.c f evfunc=E", module, {"a.c", "f", nullopt, "evfunc=E", 2}},
    {"module a.c f W prefix=P\tprefix=Q", module, {"a.c", "f", nullopt, "prefix=P", 2}},
    {"module a.c f W prefix=P prefix=Q", module, {"a.c", "f", nullopt, "prefix=Q", 2}},
    {"module a.c f a b c d e f prefix x y", module, {"a.c", "f", nullopt, "prefix=x y", 2}},
    {"module a.c f a b c d e f g prefix=X", module, {"a.c", "f", nullopt, "prefix=a", 2}},
};

TEST(Directives, EachKindOfFieldIsStored) {
  for (const Stored& c : kStored) {
    ConstraintStore store;
    EXPECT_EQ(readDirectives(store, c.line), "") << c.line;
    EXPECT_EQ(directiveList(store, c.kind), std::forward_list<DirectiveRecord>{c.record}) << c.line;
  }
}

TEST(Directives, AMissingOrWrongFieldRejectsWithItsUsageText) {
  for (const auto& [line, usage] : std::vector<std::pair<std::string, std::string>>{
           {"unmodule", "ummodule directive <fileName>"},
           {"roll a.c ;", "roll directive <funcName>"},
           {"input a.c f", "input directive <varName>"},
           {"fixedP a.c f v", "fixedP directive <option>"},
           {"unroll a.c f Loop", "unroll directive <loop|func>"},
           {"unmodule a.c f Float", "unmodule directive <float | fixed>"},
           {"scale a.c f v 8bit", "scale directive <bitSize>"},
           {"module a.c f prefix", "module directive prefix=<string>"},
           {"module a.c f P evfunc =", "module directive evfunc=<funcName>"},
       }) {
    ConstraintStore store;
    EXPECT_EQ(readDirectives(store, line), "Error:c.ctf:2:Syntx error :" + usage + "\n") << line;
    EXPECT_EQ(store.directives, ConstraintStore{}.directives) << line;
  }
}

TEST(Directives, ListsHoldTheNewestFirstWithTheLineOfItsEnd) {
  ConstraintStore store;
  EXPECT_EQ(readDirectives(store, "scale a.c f v 8\nroll r.c g\nscale b.c \\\n g w 16"), "");
  EXPECT_EQ(directiveList(store, scale),
            (std::forward_list<DirectiveRecord>{{"b.c", "g", "w", "16", 5}, {"a.c", "f", "v", "8", 2}}));
}

TEST(ReleaseConstraintStore, EmptiesEverythingTheReaderStored) {
  ConstraintStore store;
  ASSERT_EQ(readPrinting(store, "$def_start_option\n-D A B\n$end_start_option\n$def_directive\nmodule a.c f P\n"), "");
  releaseConstraintStore(store);
  EXPECT_TRUE(store.constraintOptions == ConstraintOptions{});
  EXPECT_EQ(store.constraintOptions.D.list.capacity(), 0U);
  EXPECT_EQ(store.directives, ConstraintStore{}.directives);
}

}  // namespace
