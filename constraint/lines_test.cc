#include "constraint/lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

struct Line {
  std::string text;
  int32_t lineNumber;
  bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
  return out << testing::PrintToString(line.text) << " @" << line.lineNumber;
}

// The lines as the plain description of the format has them: pieces as a
// 510-byte fgets and strlen give them, the whole logical line scanned back
// from its end after every physical line.
// A comment line compares by its place only: its text is not kept.
const std::string kComment = "<comment>";

bool isCommentText(const std::string& text) {
  std::size_t start = text.find_first_not_of(" \t\n\r,");
  return start != std::string::npos && (text[start] == '#' || text.compare(start, 2, "//") == 0);
}

std::vector<Line> plainLines(const std::string& file) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  std::vector<Line> lines;
  std::size_t pos = 0;
  int32_t lineNumber = 0;
  for (;;) {
    std::string logical;
    bool assembled = false;
    while (pos < file.size()) {
      std::size_t length = std::min<std::size_t>(509, file.size() - pos);
      std::size_t lineFeed = file.find('\n', pos);
      if (lineFeed != std::string::npos && lineFeed < pos + length) {
        length = lineFeed - pos + 1;
      }
      std::string piece = std::string(file.substr(pos, length).c_str());
      pos += length;
      assembled = true;
      if (!piece.empty() && piece.back() == '\n') {
        ++lineNumber;
      }
      logical += piece;
      if (piece.empty() || (piece.back() != '\n' && piece.back() != '\r')) {
        continue;
      }
      std::size_t i = logical.size();
      while (i > 0 && blank(logical[i - 1])) {
        --i;
      }
      if (i == 0 || logical[i - 1] != '\\') {
        break;
      }
      logical[i - 1] = ' ';
    }
    if (!assembled) {
      return lines;
    }
    lines.push_back({isCommentText(logical) ? kComment : logical, lineNumber});
  }
}

std::vector<Line> assembledLines(PieceSource& source) {
  std::vector<Line> lines;
  int32_t lineNumber = 0;
  LogicalLine line;
  while (assembleLine(source, lineNumber, line)) {
    const bool comment = line.kind == LogicalLine::Kind::comment || isCommentText(line.text);
    lines.push_back({comment ? kComment : line.text, lineNumber});
  }
  return lines;
}

std::vector<Line> linesOfText(const std::string& text) {
  PieceSource source{.window = text};
  return assembledLines(source);
}

std::vector<Line> linesOfFile(const std::string& text) {
  std::unique_ptr<std::FILE, FileCloser> file(std::tmpfile());
  std::fwrite(text.data(), 1, text.size(), file.get());
  std::rewind(file.get());
  PieceSource source{.file = file.get()};
  std::vector<Line> lines = assembledLines(source);
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

TEST(LogicalLines, AgreeWithThePlainReadingOnGeneratedFiles) {
  std::mt19937 random(5090);
  for (int round = 0; round < 3000; ++round) {
    std::string file = generatedFile(random, random() % 40);
    ASSERT_EQ(linesOfText(file), plainLines(file)) << testing::PrintToString(file);
  }
}

TEST(LogicalLines, AFileReadInWindowsGivesTheSameLines) {
  std::mt19937 random(7);
  for (int round = 0; round < 4; ++round) {
    std::string file = generatedFile(random, 2000);  // several read windows
    ASSERT_EQ(linesOfFile(file), plainLines(file));
  }
}

TEST(LogicalLines, ACommentLineIsDroppedAsItStreamsByAndStillContinues) {
  const std::string body(1 << 20, 'c');
  // The last: a piece ends between the two slashes.
  for (const std::string& start :
       {std::string("#"), std::string(" ,//"), std::string("\t# "), std::string(508, ' ') + "//"}) {
    const std::string file = start + body + " \\ \n-D joined\n-D next\n";
    PieceSource source{.window = file};
    int32_t lineNumber = 0;
    LogicalLine line;
    ASSERT_TRUE(assembleLine(source, lineNumber, line));
    EXPECT_EQ(line.kind, LogicalLine::Kind::comment) << start;
    EXPECT_LT(line.text.capacity(), kPieceLength) << start;
    EXPECT_EQ(lineNumber, 2) << start;
    ASSERT_TRUE(assembleLine(source, lineNumber, line));
    EXPECT_EQ(line.text, "-D next\n") << start;
  }
}

// A backslash continues a line only once a line end is read; a carriage
// return is one.
TEST(LogicalLines, PendingTextAtTheEndIsALine) {
  EXPECT_EQ(linesOfText("a\nb \\"), (std::vector<Line>{{"a\n", 1}, {"b \\", 1}}));
  EXPECT_EQ(linesOfText("b \\\r"), (std::vector<Line>{{"b  \r", 0}}));
}

}  // namespace
