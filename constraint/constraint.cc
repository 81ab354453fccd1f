// The constraint-file reader: logical lines, the keyword of each line and its
// handler, the sections, and the reader's two messages.
#include "constraint/constraint.h"

#include <array>
#include <cstdio>
#include <memory>

#include "constraint/keyword_table.h"
#include "constraint/lines.h"
#include "constraint/tokens.h"

namespace {

constexpr std::string_view kKeywordSeparators = " \t\n\r,";

int openOptionSection(ConstraintStore& store, std::string_view /*rest*/, const KeywordRow& /*row*/) {
  store.currentTable = KeywordTableId::option;
  return 0;
}

int openDirectiveSection(ConstraintStore& store, std::string_view /*rest*/, const KeywordRow& /*row*/) {
  store.currentTable = KeywordTableId::directive;
  return 0;
}

constexpr std::array kSectionTable{
    KeywordRow{.key = "$def_start_option", .handler = openOptionSection},
    KeywordRow{.key = "$def_directive", .handler = openDirectiveSection},
};

bool silenced(const ConstraintStore& store, const KeywordRow& row) {
  return (row.gate == Gate::options && store.optionsEnabled == 0) ||
         (row.gate == Gate::directives && store.directivesEnabled == 0);
}

// 0 when the line is a comment, blank or accepted by its keyword's handler.
int processLine(ConstraintStore& store, std::string_view text) {
  std::array<std::string_view, 2> slots;
  splitTokens(slots, text, kKeywordSeparators);
  std::string_view keyword = slots[0];
  if (keyword.empty() || keyword.starts_with('#') || keyword.starts_with("//")) {
    return 0;
  }
  for (const KeywordRow& row : keywordTable(store.currentTable)) {
    if (row.key == keyword) {
      if (silenced(store, row)) {
        return 0;
      }
      return row.handler(store, slots[1], row) == 0 ? 0 : -1;
    }
  }
  return -1;
}

void reportUnreadable(const std::string& name) { std::printf("Error:constarint:Cat't open '%s'\n", name.c_str()); }

int readPieces(ConstraintStore& store, PieceSource& source, const std::string& name) {
  store.lineNumber = 0;
  store.currentTable = KeywordTableId::section;
  LogicalLine line;
  for (;;) {
    bool assembled = assembleLine(source, store.lineNumber, line);
    if (source.failed) {
      reportUnreadable(name);
      return -1;
    }
    if (!assembled) {
      return 0;
    }
    if (line.kind != LogicalLine::Kind::comment && processLine(store, line.text) != 0) {
      std::printf("Error:%s:%d:Syntx error :%s\n", name.c_str(), store.lineNumber, store.constraintUsage);
      return -1;
    }
  }
}

int readStream(ConstraintStore& store, std::FILE* file, const std::string& name) {
  PieceSource source{.file = file};
  return readPieces(store, source, name);
}

}  // namespace

std::span<const KeywordRow> sectionTable() { return kSectionTable; }

std::span<const KeywordRow> keywordTable(KeywordTableId table) {
  switch (table) {
    case KeywordTableId::option:
      return optionTable();
    case KeywordTableId::directive:
      return directiveTable();
    case KeywordTableId::section:
      break;
  }
  return sectionTable();
}

int closeSection(ConstraintStore& store, std::string_view /*rest*/, const KeywordRow& /*row*/) {
  store.currentTable = KeywordTableId::section;
  return 0;
}

void setConstraintMode(ConstraintStore& store, int directivesEnabled, int optionsEnabled) {
  store.directivesEnabled = directivesEnabled;
  store.optionsEnabled = optionsEnabled;
}

int readConstraintFile(ConstraintStore& store, const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r"));
  if (file == nullptr) {
    reportUnreadable(path);
    return -1;
  }
  return readStream(store, file.get(), path);
}

int readConstraintText(ConstraintStore& store, std::string_view text, const std::string& name) {
  PieceSource source{.window = text};
  return readPieces(store, source, name);
}
