// The constraint-file reader: logical lines, the keyword of each line and its
// handler, the sections, and the reader's two messages.
#include "constraint/constraint.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "constraint/keyword_table.h"
#include "constraint/tokens.h"

namespace {

constexpr std::size_t kPieceLength = 509;  // one read takes at most this much
constexpr std::size_t kReadChunk = 64 * 1024;
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

// The bytes of a constraint file, handed out in pieces of at most 509
// characters that end after a line feed. Only a bounded window of the file
// is held at a time.
struct PieceSource {
  std::FILE* file = nullptr;  // null: the whole text is in `window`
  std::string buffer{};
  std::string_view window{};  // read, not yet handed out
  bool failed = false;        // the file could not be read
};

// Moves what is left to the front of the buffer and reads behind it; false
// when nothing more came.
bool refill(PieceSource& source) {
  if (source.file == nullptr || source.failed || std::feof(source.file) != 0) {
    return false;
  }
  if (source.buffer.empty()) {
    source.buffer.resize(kReadChunk);
  }
  std::size_t kept = source.window.size();
  if (kept > 0) {
    std::memmove(source.buffer.data(), source.window.data(), kept);
  }
  std::size_t got = std::fread(source.buffer.data() + kept, 1, source.buffer.size() - kept, source.file);
  if (std::ferror(source.file) != 0) {
    source.failed = true;
    source.window = {};
    return false;
  }
  source.window = std::string_view(source.buffer.data(), kept + got);
  return got > 0;
}

// The next piece, or nothing at the end of the file. A piece's text ends at
// its first NUL byte, as a C string read would take it: the bytes after the
// NUL up to the end of the piece are dropped, line feed included.
std::optional<std::string_view> nextPiece(PieceSource& source) {
  while (source.window.size() < kPieceLength && source.window.find('\n') == std::string_view::npos) {
    if (!refill(source)) {
      break;
    }
  }
  if (source.window.empty()) {
    return std::nullopt;
  }
  std::size_t limit = std::min(kPieceLength, source.window.size());
  std::size_t lineFeed = source.window.substr(0, limit).find('\n');
  std::size_t length = lineFeed == std::string_view::npos ? limit : lineFeed + 1;
  std::string_view raw = source.window.substr(0, length);
  source.window.remove_prefix(length);
  return raw.substr(0, raw.find('\0'));
}

bool isLineBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// A logical line being assembled, together with where its last non-blank
// character is. The continuation test needs that character after every
// physical line; it is kept up to date piece by piece so that no text is
// scanned more than twice however many lines are continued.
struct LogicalLine {
  std::string text;
  std::size_t solidEnd = 0;  // one past the last non-blank character; 0: none
  std::size_t floor = 0;     // start of the piece that holds that character
  // (solidEnd, floor) as they were before each piece that moved them.
  std::vector<std::pair<std::size_t, std::size_t>> earlier;

  void clear() {
    text.clear();
    solidEnd = 0;
    floor = 0;
    earlier.clear();
  }

  void append(std::string_view piece) {
    std::size_t start = text.size();
    text.append(piece);
    for (std::size_t i = text.size(); i > start; --i) {
      if (!isLineBlank(text[i - 1])) {
        earlier.emplace_back(solidEnd, floor);
        solidEnd = i;
        floor = start;
        return;
      }
    }
  }

  // Blanks the last non-blank character (a continuing backslash) and finds
  // the one before it: first in the rest of its piece, else where it was
  // before that piece came.
  void blankLastSolid() {
    text[solidEnd - 1] = ' ';
    for (std::size_t i = solidEnd - 1; i > floor; --i) {
      if (!isLineBlank(text[i - 1])) {
        solidEnd = i;
        return;
      }
    }
    std::tie(solidEnd, floor) = earlier.back();
    earlier.pop_back();
  }
};

// Assembles the next logical line; false at the end of the file with nothing pending.
bool assembleLine(ConstraintStore& store, PieceSource& source, LogicalLine& line) {
  line.clear();
  bool assembled = false;
  while (std::optional<std::string_view> piece = nextPiece(source)) {
    assembled = true;
    if (!piece->empty() && piece->back() == '\n' && store.lineNumber < std::numeric_limits<int32_t>::max()) {
      ++store.lineNumber;
    }
    line.append(*piece);
    if (piece->empty() || (piece->back() != '\n' && piece->back() != '\r')) {
      continue;  // the physical line goes on in the next piece
    }
    if (line.solidEnd == 0 || line.text[line.solidEnd - 1] != '\\') {
      break;
    }
    line.blankLastSolid();  // a backslash joins the next physical line
  }
  return assembled;
}

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
    bool assembled = assembleLine(store, source, line);
    if (source.failed) {
      reportUnreadable(name);
      return -1;
    }
    if (!assembled) {
      return 0;
    }
    if (processLine(store, line.text) != 0) {
      std::printf("Error:%s:%d:Syntx error :%s\n", name.c_str(), store.lineNumber, store.constraintUsage);
      return -1;
    }
  }
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

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
  return readConstraintStream(store, file.get(), path);
}

int readConstraintStream(ConstraintStore& store, std::FILE* file, const std::string& name) {
  PieceSource source{.file = file};
  return readPieces(store, source, name);
}

int readConstraintText(ConstraintStore& store, std::string_view text, const std::string& name) {
  PieceSource source{.window = text};
  return readPieces(store, source, name);
}
