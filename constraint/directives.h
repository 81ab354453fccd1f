// The directive section: what each directive keyword takes after it.
#pragma once

#include <array>

#include "constraint/store.h"

/// Where a field's value goes in the DirectiveRecord.
enum class FieldRole { none, fileName, funcName, varName, option };
/// How a field is cut from the line: a word ends at a blank, a tab, a line
/// end or ';'; a text at a line end or ';' only (blanks belong to it); the
/// module tail at a tab, a line end or ';'.
enum class FieldKind { word, text, moduleTail };
/// What a field's value must be.
enum class FieldCheck { any, loopOrFunc, floatOrFixed, number };

struct DirectiveField {
  FieldRole role = FieldRole::none;  // none: no further field
  FieldKind kind = FieldKind::word;
  bool optional = false;
  FieldCheck check = FieldCheck::any;
  const char* usage = nullptr;  // left in constraintUsage when missing or wrong
};

/// A directive's fields in order and the list its records go to.
struct DirectiveForm {
  DirectiveKind list;
  std::array<DirectiveField, 4> fields;
};
