// The keyword tables of the constraint-file reader: the section table at the
// top level, the option table of the option section and the directive table
// of the directive section. A row names its keyword and the handler the
// reader calls with the rest of the line; option and directive rows also
// carry what their handler needs to know about them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "constraint/store.h"

struct KeywordRow;
struct DirectiveForm;

/// Takes the rest of a line (empty when nothing follows the keyword) and
/// returns 0 to accept the line or -1 to reject it; a rejecting handler
/// leaves its usage text in store.constraintUsage first, where it has one.
using KeywordHandler = int (*)(ConstraintStore& store, std::string_view rest, const KeywordRow& row);

/// The reading switch that silences a row: while it is 0 the line is accepted unseen.
enum class Gate { none, options, directives };

/// A word an option accepts and the value it records for it.
struct Choice {
  std::string_view word;
  int32_t value;
};

struct KeywordRow {
  std::string_view key{};
  int param = 0;
  KeywordHandler handler = nullptr;
  Gate gate = Gate::none;
  // Option rows: the entry written, the separators the value is cut with,
  // the words accepted, the usage text (null: a rejection leaves it as it is).
  OptionEntry entry = nullptr;
  std::string_view separators{};
  std::span<const Choice> choices{};
  const char* usage = nullptr;
  // Directive rows: the fields and the list of the directive.
  const DirectiveForm* form = nullptr;
};

std::span<const KeywordRow> sectionTable();
std::span<const KeywordRow> optionTable();
std::span<const KeywordRow> directiveTable();
std::span<const KeywordRow> keywordTable(KeywordTableId table);

/// The handler of "$end_start_option" and "$end_directive": back to the top level.
int closeSection(ConstraintStore& store, std::string_view rest, const KeywordRow& row);
