// The keyword tables of the constraint-file reader: the section table at the
// top level, the option table of the option section and the directive table
// of the directive section. A row names its keyword and says by its kind what
// the rest of the line is. The option kinds are those of the command line's
// option table (settings/option_table.h); they write an entry of the record
// where the command line writes a setting.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

#include "constraint/store.h"
#include "settings/keyword_codes.h"

struct KeywordRow;
struct DirectiveForm;

namespace ctf {

/// Makes a keyword table current ("$def_start_option", "$end_directive", ...).
struct Section {
  KeywordTableId table;
};

/// A directive: the fields its form names.
struct Directive {
  const DirectiveForm* form;
};

/// An option without a value: records `value`; what follows is ignored.
struct Flag {
  OptionEntry entry;
  int32_t value = 1;
};

/// One of the keywords: records its code.
struct Keyword {
  OptionEntry entry;
  std::span<const KeywordCode> codes;
  KeywordMatch match = KeywordMatch::kWholeValue;
};

/// Which texts give a number.
enum class NumberText {
  kNumeric,        // digits, '-' and '.' only; "1.9" gives 1
  kLeadingDigits,  // the leading number; "8x" gives 8
  kPowerOfTwo,     // the leading number, a power of two
};

/// A number from `low` to `high`.
struct Number {
  OptionEntry entry;
  NumberText text;
  int32_t low;
  int32_t high;
};

/// A text, kept as it is.
struct Text {
  OptionEntry entry;
};

/// Every token of the line, added to the list.
struct List {
  OptionEntry entry;
};

/// A math-table value: "off", or the size, the bits and (withAngle) the angle.
struct Table {
  OptionEntry entry;
  bool withAngle;
};

/// What no kind can say: returns whether the line is accepted.
using OptionHandler = bool (*)(ConstraintOptionEntry& entry, std::string_view rest, std::string_view separators);

struct Special {
  OptionEntry entry;
  OptionHandler handler;
};

using OptionValue = std::variant<Flag, Keyword, Number, Text, List, Table, Special>;

}  // namespace ctf

struct KeywordRow {
  std::string_view key;
  std::variant<ctf::Section, ctf::Directive, ctf::OptionValue> value;
  // What ends a token of the value; none: the value is the whole rest of the line.
  std::string_view separators = {};
  const char* usage = nullptr;  // left in constraintUsage on rejection; null: left as it was
};

std::span<const KeywordRow> optionTable();
std::span<const KeywordRow> directiveTable();

/// Take the rest of an option or a directive line (empty when nothing follows
/// the keyword): 0 accepts the line; -1 rejects it, the usage text left in
/// store.constraintUsage first where the row or the field has one.
int takeOption(ConstraintStore& store, std::string_view rest, const KeywordRow& row);
int takeDirective(ConstraintStore& store, std::string_view rest, const DirectiveForm& form);
