#include "constraint/tokens.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// What one split gave: the count and, per slot, the offset and text of what
// it holds (-1 and "" for nothing).
struct Split {
  int count = 0;
  std::vector<std::pair<std::ptrdiff_t, std::string>> slots;
  bool operator==(const Split&) const = default;
};

void addSlot(Split& split, const char* text, std::string_view slot) {
  split.slots.emplace_back(slot.empty() ? -1 : slot.data() - text, slot);
}

// The split done with the C library's tokeniser on a private copy: first
// token, further tokens, and strtok(nullptr, "") for a rest.
Split splitWithStrtok(const std::string& text, std::size_t max, const char* separators) {
  std::vector<char> copy(text.begin(), text.end());
  copy.push_back('\0');
  Split split{static_cast<int>(max), {}};
  for (std::size_t i = 0; i < max; ++i) {
    const char* slot = nullptr;
    if (split.count == static_cast<int>(max)) {
      const bool rest = i > 0 && i + 1 == max;
      slot = std::strtok(i == 0 ? copy.data() : nullptr, rest ? "" : separators);  // NOLINT(concurrency-mt-unsafe)
      if (slot == nullptr && !rest) {
        split.count = static_cast<int>(i);
      }
    }
    addSlot(split, copy.data(), slot == nullptr ? "" : slot);
  }
  return split;
}

Split splitWithCursor(const std::string& text, std::size_t max, std::string_view separators) {
  std::vector<std::string_view> slots(max, "stale");
  Split split{splitTokens(slots, text, separators), {}};
  for (std::string_view slot : slots) {
    addSlot(split, text.data(), slot);
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

TEST(IsNumberText, DigitsMinusAndDotOnly) {
  EXPECT_TRUE(isNumberText("") && isNumberText("0129-."));
  EXPECT_FALSE(isNumberText("/") || isNumberText(":") || isNumberText("8a"));
}

}  // namespace
