// The constraint-file reader: logical lines, the keyword of each line and its
// row, the sections, and the reader's two messages.
#include "constraint/constraint.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "constraint/keyword_table.h"
#include "constraint/lines.h"
#include "constraint/tokens.h"
#include "settings/report.h"

namespace {

constexpr std::string_view kKeywordSeparators = " \t\n\r,";

constexpr KeywordRow kSectionTable[] = {
    {"$def_start_option", ctf::Section{KeywordTableId::option}},
    {"$def_directive", ctf::Section{KeywordTableId::directive}},
};

std::span<const KeywordRow> keywordTable(KeywordTableId table) {
  switch (table) {
    case KeywordTableId::option:
      return optionTable();
    case KeywordTableId::directive:
      return directiveTable();
    case KeywordTableId::section:
      break;
  }
  return kSectionTable;
}

// The section keywords always count; while its switch is 0 an option or a
// directive line is accepted unseen.
int takeRow(ConstraintStore& store, std::string_view rest, const KeywordRow& row) {
  if (const auto* section = std::get_if<ctf::Section>(&row.value)) {
    store.currentTable = section->table;
    return 0;
  }
  if (const auto* directive = std::get_if<ctf::Directive>(&row.value)) {
    return store.directivesEnabled == 0 ? 0 : takeDirective(store, rest, *directive->form);
  }
  return store.optionsEnabled == 0 ? 0 : takeOption(store, rest, row);
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
      return takeRow(store, slots[1], row);
    }
  }
  printReason(keyword, store.currentTable == KeywordTableId::section ? "is not a keyword outside a section"
                                                                      : "is not a keyword of this section");
  return -1;
}

// Says why, then what the toolchain prints for a file it cannot read.
void reportUnreadable(const std::string& name, std::string_view what, int error) {
  printReason(name, what, error);
  std::printf("Error:constarint:Cat't open '%s'\n", name.c_str());
}

int readPieces(ConstraintStore& store, PieceSource& source, const std::string& name) {
  store.lineNumber = 0;
  store.currentTable = KeywordTableId::section;
  LogicalLine line;
  for (;;) {
    bool assembled = assembleLine(source, store.lineNumber, line);
    if (source.failed) {
      reportUnreadable(name, "cannot be read", source.readError);
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

void setConstraintMode(ConstraintStore& store, int directivesEnabled, int optionsEnabled) {
  store.directivesEnabled = directivesEnabled;
  store.optionsEnabled = optionsEnabled;
}

int readConstraintFile(ConstraintStore& store, const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r"));
  if (file == nullptr) {
    reportUnreadable(path, "cannot be opened", errno);
    return -1;
  }
  return readStream(store, file.get(), path);
}

int readConstraintText(ConstraintStore& store, std::string_view text, const std::string& name) {
  PieceSource source{.window = text};
  return readPieces(store, source, name);
}
