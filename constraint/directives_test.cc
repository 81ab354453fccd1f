// The directive section with directives on: fields, usage texts, the module
// tail, the lists, and releasing the store.
#include "constraint/directives.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "constraint/constraint.h"
#include "constraint/keyword_table.h"
#include "constraint/read_testing.h"

namespace {

using constraint_testing::Read;

Read readDirectives(ConstraintStore& store, const std::string& lines) {
  return constraint_testing::readCapturing(store, "$def_directive\n" + lines + "\n", "d.ctf");
}

struct Stored {
  std::string line;
  DirectiveKind kind;
  std::string fileName;
  std::string funcName;
  std::optional<std::string> varName;
  std::optional<std::string> option;
};

using enum DirectiveKind;
using std::nullopt;

const std::vector<Stored> kStored = {
    {"module a.c f", module, "a.c", "f", nullopt, nullopt},
    {"module a.c f P", module, "a.c", "f", nullopt, "prefix=P"},
    {"module a.c f  P Q", module, "a.c", "f", nullopt, "prefix= P"},
    {"module a.c f prefix=P evfunc=E", module, "a.c", "f", nullopt, "prefix=P evfunc=E"},
    {"module a.c f evfunc E prefix P", module, "a.c", "f", nullopt, "prefix=P evfunc=E"},
    {"module a.c f prefix = P;x", module, "a.c", "f", nullopt, "prefix=P"},
    {"module a.c f evfunc=E", module, "a.c", "f", nullopt, "evfunc=E"},
    {"module a.c f W prefix=P prefix=Q", module, "a.c", "f", nullopt, "prefix=Q"},
    {"module a.c f\tprefix=P", module, "a.c", "f", nullopt, "prefix=P"},
    {"module a.c f a b c d e f prefix x y", module, "a.c", "f", nullopt, "prefix=x y"},
    {"module a.c f a b c d e f g prefix=X", module, "a.c", "f", nullopt, "prefix=a"},
    {"evFunc a.c f extra", evFunc, "a.c", "f", nullopt, nullopt},
    {"roll a.c f", roll, "a.c", "f", nullopt, nullopt},
    {"unmodule a.c f", unmodule, "a.c", "f", nullopt, nullopt},
    {"unmodule a.c f float", unmodule, "a.c", "f", nullopt, "float"},
    {"unmodule a.c;f;fixed", unmodule, "a.c", "f", nullopt, "fixed"},
    {"unroll a.c f loop", unroll, "a.c", "f", nullopt, "loop"},
    {"unroll a.c f func x", unroll, "a.c", "f", nullopt, "func"},
    {"fixedP a.c f v 16,8", fixedP, "a.c", "f", "v", "16,8"},
    {"int a.c f v range 0 to 9;rest", int_, "a.c", "f", "v", "range 0 to 9"},
    {"int a.c f v;opt", int_, "a.c", "f", "v", "opt"},
    {"int a.c f v  two", int_, "a.c", "f", "v", " two"},
    {"input a.c f v", input, "a.c", "f", "v", nullopt},
    {"output a.c f v o", output, "a.c", "f", "v", "o"},
    {"inout a.c f v io", inout, "a.c", "f", "v", "io"},
    {"scale a.c f v 8", scale, "a.c", "f", "v", "8"},
    {"scale a.c f v -1.5", scale, "a.c", "f", "v", "-1.5"},
    {"float a.c f v", float_, "a.c", "f", "v", nullopt},
    {"muladd_var a.c;f;v;", muladd_var, "a.c", "f", "v", nullopt},
};

TEST(Directives, EachStoresItsFields) {
  for (const Stored& c : kStored) {
    ConstraintStore store;
    Read read = readDirectives(store, c.line);
    EXPECT_EQ(read.status, 0) << c.line << ": " << read.out;
    const auto& list = directiveList(store, c.kind);
    ASSERT_FALSE(list.empty()) << c.line;
    const DirectiveRecord& record = list.front();
    EXPECT_EQ(record.fileName, c.fileName) << c.line;
    EXPECT_EQ(record.funcName, c.funcName) << c.line;
    EXPECT_EQ(record.varName, c.varName) << c.line;
    EXPECT_EQ(record.option, c.option) << c.line;
    EXPECT_EQ(record.line, 2) << c.line;
  }
}

struct Refused {
  std::string line;
  std::string usage;
};

const std::vector<Refused> kRefused = {
    {"module", "module directive <fileName>"},
    {"module a.c", "module directive <funcName>"},
    {"module a.c f prefix", "module directive prefix=<string>"},
    {"module a.c f P evfunc =", "module directive evfunc=<funcName>"},
    {"evFunc", "evFunc directive <fileName>"},
    {"evFunc a.c", "evFunc directive <funcName>"},
    {"roll ;", "roll directive <fileName>"},
    {"roll a.c ;", "roll directive <funcName>"},
    {"unmodule", "ummodule directive <fileName>"},
    {"unmodule a.c", "unmodule directive <funcName>"},
    {"unmodule a.c f Float", "unmodule directive <float | fixed>"},
    {"unroll", "unroll directive <fileName>"},
    {"unroll a.c", "unroll directive <funcName>"},
    {"unroll a.c f", "unroll directive <loop|func>"},
    {"unroll a.c f Loop", "unroll directive <loop|func>"},
    {"fixedP", "fixedP directive <fileName>"},
    {"fixedP a.c", "fixedP directive <funcName>"},
    {"fixedP a.c f", "fixedP directive <varName>"},
    {"fixedP a.c f v", "fixedP directive <option>"},
    {"int a.c f v", "int directive <option>"},
    {"int a.c f v ;", "int directive <option>"},
    {"int", "int directive <fileName>"},
    {"int a.c", "int directive <funcName>"},
    {"int a.c f", "int directive <varName>"},
    {"input", "input directive <fileName>"},
    {"input a.c", "input directive <funcName>"},
    {"input a.c f", "input directive <varName>"},
    {"output", "output directive <fileName>"},
    {"output a.c", "output directive <funcName>"},
    {"output a.c f", "output directive <varName>"},
    {"inout", "inout directive <fileName>"},
    {"inout a.c", "inout directive <funcName>"},
    {"inout a.c f", "inout directive <varName>"},
    {"scale", "scale directive <fileName>"},
    {"scale a.c", "scale directive <funcName>"},
    {"scale a.c f", "scale directive <varName>"},
    {"scale a.c f v", "scale directive <bitSize>"},
    {"scale a.c f v 8bit", "scale directive <bitSize>"},
    {"float", "scale directive <fileName>"},
    {"float a.c", "scale directive <funcName>"},
    {"float a.c f", "scale directive <varName>"},
    {"muladd_var", "scale directive <fileName>"},
    {"muladd_var a.c", "scale directive <funcName>"},
    {"muladd_var a.c f", "scale directive <varName>"},
    {"Scale a.c f v 8", ""},
};

TEST(Directives, AMissingOrWrongFieldRejectsWithItsUsageText) {
  for (const Refused& c : kRefused) {
    ConstraintStore store;
    EXPECT_EQ(readDirectives(store, c.line).out, "Error:d.ctf:2:Syntx error :" + c.usage + "\n") << c.line;
    for (const auto& list : store.directives) {
      EXPECT_TRUE(list.empty()) << c.line;
    }
  }
}

TEST(Directives, ListsHoldTheNewestFirstWithTheirLines) {
  ConstraintStore store;
  EXPECT_EQ(readDirectives(store, "scale a.c f v 8\nroll r.c g\nscale b.c \\\n g w 16\n$end_directive").status, 0);
  const auto& scales = directiveList(store, DirectiveKind::scale);
  std::vector<std::pair<std::string, int32_t>> seen;
  for (const DirectiveRecord& record : scales) {
    seen.emplace_back(record.fileName, record.line);
  }
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, int32_t>>{{"b.c", 5}, {"a.c", 2}}));
  EXPECT_EQ(store.currentTable, KeywordTableId::section);
}

TEST(Directives, WithDirectivesOffOnlyTheKeywordCounts) {
  ConstraintStore store;
  setConstraintMode(store, 0, 1);
  EXPECT_EQ(readDirectives(store, "scale\nunroll a.c f anything\nmodule a.c f prefix").status, 0);
  for (const auto& list : store.directives) {
    EXPECT_TRUE(list.empty());
  }
}

TEST(DirectiveTable, RowsAreWellFormed) {
  std::set<std::string_view> keys;
  std::set<DirectiveKind> kinds;
  for (const KeywordRow& row : directiveTable()) {
    EXPECT_TRUE(keys.insert(row.key).second) << row.key;
    EXPECT_EQ(row.param, 0) << row.key;
    if (row.form != nullptr) {
      EXPECT_EQ(row.gate, Gate::directives) << row.key;
      EXPECT_TRUE(kinds.insert(row.form->list).second) << row.key;
    }
  }
  EXPECT_EQ(kinds.size(), kDirectiveKinds);
  EXPECT_EQ(directiveTable().back().key, "$end_directive");
}

TEST(ReleaseConstraintStore, EmptiesEverythingTheReaderStored) {
  ConstraintStore store;
  testing::internal::CaptureStdout();
  ASSERT_EQ(readConstraintText(store,
                               "$def_start_option\n-D A B\n-p x\n-maxt 8d\n-bx_bits 1,2\n$end_start_option\n"
                               "$def_directive\nmodule a.c f P\nint a.c f v o\n",
                               "r.ctf"),
            0);
  testing::internal::GetCapturedStdout();
  releaseConstraintStore(store);
  const ConstraintOptions& options = store.constraintOptions;
  for (const ConstraintOptionEntry* entry : {&options.D, &options.p, &options.maxt, &options.bx_bits}) {
    EXPECT_EQ(entry->given, 0);
    EXPECT_FALSE(entry->text);
    EXPECT_TRUE(entry->list.empty());
    EXPECT_EQ(entry->list.capacity(), 0U);
  }
  for (const auto& list : store.directives) {
    EXPECT_TRUE(list.empty());
  }
}

}  // namespace
