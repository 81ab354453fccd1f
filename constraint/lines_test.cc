#include "constraint/lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// Each logical line with the line number after it; a comment line compares
// by its place only, as its text is not kept.
using Lines = std::vector<std::pair<std::string, int32_t>>;
const std::string kComment = "<comment>";

bool isComment(const std::string& text) {
  std::size_t start = text.find_first_not_of(" \t\n\r,");
  return start != std::string::npos && (text[start] == '#' || text.compare(start, 2, "//") == 0);
}

// The format's rule, read the simplest way: a physical line is read in
// pieces of at most 509 bytes up to and including its line end, a piece's
// text ending at its first NUL; when a line end (or a carriage return) has been read, a logical line whose
// last non-blank character is a backslash goes on with the next line, the
// backslash becoming a blank.
Lines plainLines(const std::string& file) {
  Lines lines;
  std::size_t pos = 0;
  int32_t lineNumber = 0;
  while (pos < file.size()) {
    std::string logical;
    while (pos < file.size()) {
      std::size_t length = std::min(std::size_t{509}, std::min(file.find('\n', pos), file.size() - 1) - pos + 1);
      std::string piece = file.substr(pos, length).c_str();
      pos += length;
      lineNumber += piece.ends_with('\n') ? 1 : 0;
      logical += piece;
      if (!piece.ends_with('\n') && !piece.ends_with('\r')) {
        continue;
      }
      std::size_t last = logical.find_last_not_of(" \t\n\r");
      if (last == std::string::npos || logical[last] != '\\') {
        break;
      }
      logical[last] = ' ';
    }
    lines.emplace_back(isComment(logical) ? kComment : logical, lineNumber);
  }
  return lines;
}

// The lines assembleLine gives reading the text from a file.
Lines assembledLines(const std::string& text) {
  std::unique_ptr<std::FILE, FileCloser> file(std::tmpfile());
  std::fwrite(text.data(), 1, text.size(), file.get());
  std::rewind(file.get());
  PieceSource source{.file = file.get()};
  Lines lines;
  int32_t lineNumber = 0;
  LogicalLine line;
  while (assembleLine(source, lineNumber, line)) {
    const bool comment = line.kind == LogicalLine::Kind::comment || isComment(line.text);
    lines.emplace_back(comment ? kComment : line.text, lineNumber);
  }
  EXPECT_FALSE(source.failed);
  return lines;
}

std::string generatedFile(std::mt19937& random, std::size_t fragments) {
  // clang-format off
  const std::vector<std::string> pool = {
      "a", "-D x", "\\", "\\\\", " ", "\t", "\r", "\n", "\r\n", "\\\n", "\\ \r\n", std::string(1, '\0'), "#c", "/",
      "//", ",", "\n\n", std::string(600, 'x'), std::string(600, ' '), std::string(505, 'y'),
      "\\" + std::string(520, ' '),
  };
  // clang-format on
  std::string file;
  for (std::size_t i = 0; i < fragments; ++i) {
    file += pool[random() % pool.size()];
  }
  return file;
}

// Mostly short files; every 500th takes several read windows.
TEST(LogicalLines, AgreeWithThePlainReadingOnGeneratedFiles) {
  std::mt19937 random(5090);
  for (int round = 0; round < 3000; ++round) {
    std::string file = generatedFile(random, round % 500 == 0 ? 2000 : random() % 40);
    ASSERT_EQ(assembledLines(file), plainLines(file)) << testing::PrintToString(file);
  }
}

// The reading above compares comment lines by their text; here the line is
// known as a comment while it streams by, even when a piece ends between
// its two slashes, and none of it is kept.
TEST(LogicalLines, ACommentLineIsKnownAndDroppedAsItStreamsBy) {
  const std::string file = std::string(kPieceLength - 1, ' ') + "//" + std::string(1 << 20, 'c') + "\n-D next\n";
  PieceSource source{.window = file};
  int32_t lineNumber = 0;
  LogicalLine line;
  ASSERT_TRUE(assembleLine(source, lineNumber, line));
  EXPECT_EQ(line.kind, LogicalLine::Kind::comment);
  EXPECT_LT(line.text.capacity(), kPieceLength);
}

}  // namespace
