// The directive section: the directive table, the one handler that takes a
// directive's fields by its form, and the release of everything stored.
#include "constraint/directives.h"

#include <optional>
#include <string>
#include <string_view>

#include "constraint/constraint.h"
#include "constraint/keyword_table.h"
#include "constraint/tokens.h"

namespace {

constexpr std::string_view kWordSeparators = " \t\n\r;";
constexpr std::string_view kTextSeparators = "\n\r;";
constexpr std::string_view kTailSeparators = "\t\n\r;";
constexpr std::string_view kTailWordSeparators = " \t\n\r=;";

int reject(ConstraintStore& store, const char* usage) {
  store.constraintUsage = usage;
  return -1;
}

bool passes(FieldCheck check, std::string_view value) {
  switch (check) {
    case FieldCheck::loopOrFunc:
      return value == "loop" || value == "func";
    case FieldCheck::floatOrFixed:
      return value == "float" || value == "fixed";
    case FieldCheck::number:
      return isNumberText(value);
    case FieldCheck::any:
      break;
  }
  return true;
}

// The option text of a module tail: up to seven words and the rest after
// them, where "prefix" and "evfunc" take the item after them ('=' or blanks
// between). A first word that is neither starts the prefix, with the blanks
// before it. -1 (usage text left) when a keyword has no item after it.
int composeModuleOption(ConstraintStore& store, std::string_view tail, std::optional<std::string>& option) {
  std::array<std::string_view, 8> items;
  const auto count = static_cast<std::size_t>(splitTokens(items, tail, kTailWordSeparators));
  std::optional<std::string_view> prefix;
  std::optional<std::string_view> evfunc;
  if (count > 0 && items[0] != "prefix" && items[0] != "evfunc") {
    prefix = tail.substr(0, static_cast<std::size_t>(items[0].data() - tail.data()) + items[0].size());
  }
  auto present = [&](std::size_t i) { return i < count && !items[i].empty(); };
  for (std::size_t i = 0; present(i);) {
    std::string_view item = items[i];
    if (item != "prefix" && item != "evfunc") {
      ++i;
      continue;
    }
    if (!present(i + 1)) {
      return reject(store,
                    item == "prefix" ? "module directive prefix=<string>" : "module directive evfunc=<funcName>");
    }
    (item == "prefix" ? prefix : evfunc) = items[i + 1];
    i += 2;
  }
  if (prefix && evfunc) {
    option = "prefix=" + std::string(*prefix) + " evfunc=" + std::string(*evfunc);
  } else if (prefix) {
    option = "prefix=" + std::string(*prefix);
  } else if (evfunc) {
    option = "evfunc=" + std::string(*evfunc);
  }
  return 0;
}

}  // namespace

// Takes the fields of the form in order; the first one missing or wrong
// rejects the line, else the record goes to the head of its list.
int takeDirective(ConstraintStore& store, std::string_view rest, const DirectiveForm& form) {
  TokenCursor cursor{rest};
  DirectiveRecord record;
  for (const DirectiveField& field : form.fields) {
    if (field.role == FieldRole::none) {
      break;
    }
    std::string_view value;
    switch (field.kind) {
      case FieldKind::word:
        value = nextToken(cursor, kWordSeparators);
        break;
      case FieldKind::text:
        value = nextToken(cursor, kTextSeparators);
        break;
      case FieldKind::moduleTail:
        value = nextToken(cursor, kTailSeparators);
        break;
    }
    if (value.empty()) {
      if (field.optional) {
        break;
      }
      return reject(store, field.usage);
    }
    if (!passes(field.check, value)) {
      return reject(store, field.usage);
    }
    switch (field.role) {
      case FieldRole::fileName:
        record.fileName = value;
        break;
      case FieldRole::funcName:
        record.funcName = value;
        break;
      case FieldRole::varName:
        record.varName = value;
        break;
      case FieldRole::option:
        if (field.kind == FieldKind::moduleTail) {
          if (composeModuleOption(store, value, record.option) != 0) {
            return -1;
          }
        } else {
          record.option = value;
        }
        break;
      case FieldRole::none:
        break;
    }
  }
  record.line = store.lineNumber;
  directiveList(store, form.list).push_front(std::move(record));
  return 0;
}

namespace {

constexpr DirectiveField file(const char* usage) { return {.role = FieldRole::fileName, .usage = usage}; }
constexpr DirectiveField function(const char* usage) { return {.role = FieldRole::funcName, .usage = usage}; }
constexpr DirectiveField variable(const char* usage) { return {.role = FieldRole::varName, .usage = usage}; }
constexpr DirectiveField optionWord(FieldCheck check, bool optional, const char* usage) {
  return {.role = FieldRole::option, .optional = optional, .check = check, .usage = usage};
}
constexpr DirectiveField optionText(bool optional, const char* usage) {
  return {.role = FieldRole::option, .kind = FieldKind::text, .optional = optional, .usage = usage};
}
constexpr DirectiveField moduleTail() {
  return {.role = FieldRole::option, .kind = FieldKind::moduleTail, .optional = true};
}

using enum DirectiveKind;
constexpr bool kOptional = true;
constexpr bool kRequired = false;

// The fields after each directive keyword, with the usage text of each.
constexpr DirectiveForm kModule{
    module, {file("module directive <fileName>"), function("module directive <funcName>"), moduleTail()}};
constexpr DirectiveForm kEvFunc{evFunc, {file("evFunc directive <fileName>"), function("evFunc directive <funcName>")}};
constexpr DirectiveForm kRoll{roll, {file("roll directive <fileName>"), function("roll directive <funcName>")}};
constexpr DirectiveForm kUnmodule{
    unmodule,
    {file("ummodule directive <fileName>"), function("unmodule directive <funcName>"),
     optionWord(FieldCheck::floatOrFixed, kOptional, "unmodule directive <float | fixed>")}};
constexpr DirectiveForm kUnroll{unroll,
                                {file("unroll directive <fileName>"), function("unroll directive <funcName>"),
                                 optionWord(FieldCheck::loopOrFunc, kRequired, "unroll directive <loop|func>")}};
constexpr DirectiveForm kFixedP{
    fixedP,
    {file("fixedP directive <fileName>"), function("fixedP directive <funcName>"),
     variable("fixedP directive <varName>"), optionText(kRequired, "fixedP directive <option>")}};
constexpr DirectiveForm kInt{int_,
                             {file("int directive <fileName>"), function("int directive <funcName>"),
                              variable("int directive <varName>"), optionText(kRequired, "int directive <option>")}};
constexpr DirectiveForm kInput{input,
                               {file("input directive <fileName>"), function("input directive <funcName>"),
                                variable("input directive <varName>"), optionText(kOptional, nullptr)}};
constexpr DirectiveForm kOutput{output,
                                {file("output directive <fileName>"), function("output directive <funcName>"),
                                 variable("output directive <varName>"), optionText(kOptional, nullptr)}};
constexpr DirectiveForm kInout{inout,
                               {file("inout directive <fileName>"), function("inout directive <funcName>"),
                                variable("inout directive <varName>"), optionText(kOptional, nullptr)}};
constexpr DirectiveForm kScale{
    scale,
    {file("scale directive <fileName>"), function("scale directive <funcName>"), variable("scale directive <varName>"),
     optionWord(FieldCheck::number, kRequired, "scale directive <bitSize>")}};
// float and muladd_var report the usage texts of scale.
constexpr DirectiveForm kFloat{float_,
                               {file("scale directive <fileName>"), function("scale directive <funcName>"),
                                variable("scale directive <varName>")}};
constexpr DirectiveForm kMuladdVar{muladd_var,
                                   {file("scale directive <fileName>"), function("scale directive <funcName>"),
                                    variable("scale directive <varName>")}};

using ctf::Directive;

constexpr KeywordRow kDirectiveTable[] = {
    {"module", Directive{&kModule}},
    {"evFunc", Directive{&kEvFunc}},
    {"roll", Directive{&kRoll}},
    {"unmodule", Directive{&kUnmodule}},
    {"unroll", Directive{&kUnroll}},
    {"fixedP", Directive{&kFixedP}},
    {"int", Directive{&kInt}},
    {"input", Directive{&kInput}},
    {"output", Directive{&kOutput}},
    {"inout", Directive{&kInout}},
    {"scale", Directive{&kScale}},
    {"float", Directive{&kFloat}},
    {"muladd_var", Directive{&kMuladdVar}},
    {"$end_directive", ctf::Section{KeywordTableId::section}},
};

}  // namespace

std::span<const KeywordRow> directiveTable() { return kDirectiveTable; }

void releaseConstraintStore(ConstraintStore& store) {
  store.constraintOptions = ConstraintOptions{};
  for (std::forward_list<DirectiveRecord>& list : store.directives) {
    list.clear();
  }
}
