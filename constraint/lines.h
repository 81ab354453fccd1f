// Logical lines of a constraint file: the file is read in pieces of at most
// 509 characters, a piece ending a physical line after its line feed (or at a
// carriage return it ends on), and a line whose last non-blank character is a
// backslash goes on in the next physical line, the backslash made a blank.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

inline constexpr std::size_t kPieceLength = 509;

/// Where the pieces come from: an open file, read a bounded window at a
/// time, or text already in memory (`file` null, the text in `window`).
struct PieceSource {
  std::FILE* file = nullptr;
  std::string buffer{};
  std::string_view window{};  // read, not yet handed out
  bool failed = false;        // the file could not be read
  int readError = 0;          // then the system's error
};

/// Closes the file of a std::unique_ptr.
struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

/// A logical line being assembled, with where its last non-blank character
/// is. The continuation test needs that character after every physical line;
/// it is kept up to date piece by piece, so no text is scanned more than
/// twice however many lines are continued.
///
/// A line whose keyword begins with "#" or "//" is a comment: once that is
/// known its text is dropped as it streams by, and only the backslashes
/// among its last non-blank characters are counted, so a comment line of any
/// length takes constant memory and still joins the next line when continued.
struct LogicalLine {
  enum class Kind : std::uint8_t { open, ordinary, comment };

  std::string text;
  Kind kind = Kind::open;                                    // open: no keyword character seen yet
  std::size_t keywordStart = 0;                              // open: where the keyword may begin
  std::size_t solidEnd = 0;                                  // one past the last non-blank character; 0: none
  std::size_t floor = 0;                                     // start of the piece that holds that character
  std::vector<std::pair<std::size_t, std::size_t>> earlier;  // (solidEnd, floor) before each such piece
  std::size_t trailingBackslashes = 0;                       // comment: backslashes ending its non-blanks

  void clear();
  void append(std::string_view piece);
  /// True when the last non-blank character is a backslash.
  [[nodiscard]] bool continues() const;
  /// Makes the last non-blank character a blank and finds the one before it.
  void blankLastSolid();

 private:
  void classify();
  void becomeComment();
};

/// Assembles the next logical line, adding 1 to `lineNumber` for every line
/// feed read; false at the end of the file with nothing pending. A last line
/// without a line feed, or a continuation that meets the end, is a line too.
/// A piece's text ends at its first NUL byte, as a C string read would take
/// it: the bytes after the NUL up to the end of the piece are dropped, its
/// line feed included.
bool assembleLine(PieceSource& source, int32_t& lineNumber, LogicalLine& line);
