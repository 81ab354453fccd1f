#include "constraint/lines.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>
#include <tuple>

namespace {

constexpr std::size_t kReadChunk = std::size_t{64} * 1024;

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
    source.readError = errno;
    source.window = {};
    return false;
  }
  source.window = std::string_view(source.buffer.data(), kept + got);
  return got > 0;
}

bool isLineBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The next piece, or nothing at the end.
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

}  // namespace

void LogicalLine::clear() {
  text.clear();
  kind = Kind::open;
  keywordStart = 0;
  solidEnd = 0;
  floor = 0;
  earlier.clear();
  trailingBackslashes = 0;
}

namespace {

bool isKeywordSeparator(char c) { return isLineBlank(c) || c == ','; }

// The backslashes among the last non-blank characters of `piece`, added to
// those before it when the piece holds nothing else that is not blank.
std::size_t countTrailingBackslashes(std::string_view piece, std::size_t before) {
  std::size_t count = 0;
  for (std::size_t i = piece.size(); i > 0; --i) {
    if (piece[i - 1] == '\\') {
      ++count;
    } else if (!isLineBlank(piece[i - 1])) {
      return count;
    }
  }
  return before + count;
}

}  // namespace

void LogicalLine::append(std::string_view piece) {
  if (kind == Kind::comment) {
    trailingBackslashes = countTrailingBackslashes(piece, trailingBackslashes);
    return;
  }
  std::size_t start = text.size();
  text.append(piece);
  for (std::size_t i = text.size(); i > start; --i) {
    if (!isLineBlank(text[i - 1])) {
      earlier.emplace_back(solidEnd, floor);
      solidEnd = i;
      floor = start;
      break;
    }
  }
  if (kind == Kind::open) {
    classify();
  }
}

// Only a backslash is ever blanked later, so a keyword that begins with "#"
// or "//" is a comment for good; one that begins with a backslash may still
// become blank, and such a line is kept whole like any other.
void LogicalLine::classify() {
  while (keywordStart < text.size() && isKeywordSeparator(text[keywordStart])) {
    ++keywordStart;
  }
  if (keywordStart == text.size()) {
    return;
  }
  const char first = text[keywordStart];
  if (first == '#') {
    becomeComment();
  } else if (first != '/') {
    kind = Kind::ordinary;
  } else if (keywordStart + 1 < text.size()) {
    if (text[keywordStart + 1] == '/') {
      becomeComment();
    } else {
      kind = Kind::ordinary;
    }
  }
}

void LogicalLine::becomeComment() {
  kind = Kind::comment;
  trailingBackslashes = countTrailingBackslashes(text, 0);
  std::string().swap(text);
  decltype(earlier)().swap(earlier);
}

bool LogicalLine::continues() const {
  if (kind == Kind::comment) {
    return trailingBackslashes > 0;
  }
  return solidEnd != 0 && text[solidEnd - 1] == '\\';
}

// The character before the blanked one is looked for in the rest of its
// piece; below that piece everything down to where the last non-blank
// character was before the piece came is blank.
void LogicalLine::blankLastSolid() {
  if (kind == Kind::comment) {
    --trailingBackslashes;
    return;
  }
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

bool assembleLine(PieceSource& source, int32_t& lineNumber, LogicalLine& line) {
  line.clear();
  bool assembled = false;
  while (std::optional<std::string_view> piece = nextPiece(source)) {
    assembled = true;
    if (!piece->empty() && piece->back() == '\n' && lineNumber < std::numeric_limits<int32_t>::max()) {
      ++lineNumber;
    }
    line.append(*piece);
    if (piece->empty() || (piece->back() != '\n' && piece->back() != '\r')) {
      continue;  // the physical line goes on in the next piece
    }
    if (!line.continues()) {
      break;
    }
    line.blankLastSolid();  // a backslash joins the next physical line
  }
  return assembled;
}
