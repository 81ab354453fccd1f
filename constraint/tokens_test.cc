#include "constraint/tokens.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

// What one split gave: the count and, per slot, the offset and text of what
// it holds (nullopt for nothing).
struct Split {
  int count = 0;
  std::vector<std::optional<std::pair<std::ptrdiff_t, std::string>>> slots;
  bool operator==(const Split&) const = default;
};

// The split done with the C library's tokeniser on a private copy: first
// token, further tokens, and strtok(nullptr, "") for a rest.
Split splitWithStrtok(const std::string& text, std::size_t max, const char* separators) {
  std::vector<char> copy(text.begin(), text.end());
  copy.push_back('\0');
  std::vector<const char*> found(max, nullptr);
  int count = static_cast<int>(max);
  found[0] = std::strtok(copy.data(), separators);  // NOLINT(concurrency-mt-unsafe)
  if (found[0] == nullptr) {
    count = 0;
  } else {
    for (std::size_t i = 1; i + 1 < max; ++i) {
      found[i] = std::strtok(nullptr, separators);  // NOLINT(concurrency-mt-unsafe)
      if (found[i] == nullptr) {
        count = static_cast<int>(i);
        break;
      }
    }
    if (count == static_cast<int>(max)) {
      found[max - 1] = std::strtok(nullptr, "");  // NOLINT(concurrency-mt-unsafe)
    }
  }
  Split split{count, {}};
  for (const char* slot : found) {
    if (slot == nullptr) {
      split.slots.emplace_back(std::nullopt);
    } else {
      split.slots.emplace_back(std::make_pair(slot - copy.data(), std::string(slot)));
    }
  }
  return split;
}

Split splitWithCursor(const std::string& text, std::size_t max, std::string_view separators) {
  std::vector<std::string_view> slots(max);
  Split split{splitTokens(slots, text, separators), {}};
  for (std::string_view slot : slots) {
    if (slot.empty()) {
      split.slots.emplace_back(std::nullopt);
    } else {
      split.slots.emplace_back(std::make_pair(slot.data() - text.data(), std::string(slot)));
    }
  }
  return split;
}

TEST(SplitTokens, AgreesWithTheCLibraryTokeniserOnGeneratedLines) {
  std::mt19937 random(20261206);
  const std::string alphabet = "ab9-. \t\n\r,;:=";
  const std::string separatorPool = " \t\n\r,;:=";
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    std::size_t length = random() % 24;
    for (std::size_t i = 0; i < length; ++i) {
      text += alphabet[random() % alphabet.size()];
    }
    std::string separators;
    for (char c : separatorPool) {
      if (random() % 2 == 0) {
        separators += c;
      }
    }
    std::size_t max = std::vector<std::size_t>{2, 3, 4, 8}[random() % 4];
    ASSERT_EQ(splitWithCursor(text, max, separators), splitWithStrtok(text, max, separators.c_str()))
        << "text '" << text << "' separators '" << separators << "' max " << max;
  }
}

TEST(SplitTokens, KeywordAndRestKeepTheLineEndAndFurtherSeparators) {
  std::vector<std::string_view> slots(2);
  EXPECT_EQ(splitTokens(slots, "-max,16\n", " \t\n\r,"), 2);
  EXPECT_EQ(slots[0], "-max");
  EXPECT_EQ(slots[1], "16\n");
  EXPECT_EQ(splitTokens(slots, "  -D  A B\n", " \t\n\r,"), 2);
  EXPECT_EQ(slots[1], " A B\n");
  EXPECT_EQ(splitTokens(slots, "-grun_level\n", " \t\n\r,"), 2);
  EXPECT_TRUE(slots[1].empty());
  EXPECT_EQ(splitTokens(slots, " ,\t,\n", " \t\n\r,"), 0);
}

TEST(SplitTokens, ACursorContinuesWhereTheLastCallEnded) {
  TokenCursor cursor{"a;b c;d\n"};
  EXPECT_EQ(nextToken(cursor, " ;\n"), "a");
  EXPECT_EQ(nextToken(cursor, ";\n"), "b c");
  EXPECT_EQ(takeRest(cursor), "d\n");
  EXPECT_EQ(nextToken(cursor, " "), "");
  TokenCursor none{};
  EXPECT_EQ(nextToken(none, " "), "");
}

TEST(IsNumberText, DigitsMinusAndDotOnly) {
  for (const char* text : {"", "0", "64", "-5", "1.9", "-", ".", "1-2"}) {
    EXPECT_TRUE(isNumberText(text)) << text;
  }
  for (const char* text : {"8a", "+1", " 1", "1\n", "0x10", "1e3"}) {
    EXPECT_FALSE(isNumberText(text)) << text;
  }
}

}  // namespace
