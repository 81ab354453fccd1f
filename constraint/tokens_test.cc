#include "constraint/tokens.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

// What one split gave: the count, then per slot the offset and text of what
// it holds (-1 and "" for nothing).
using Split = std::vector<std::pair<std::ptrdiff_t, std::string>>;

void addSlot(Split& split, const char* text, std::string_view slot) {
  split.emplace_back(slot.empty() ? -1 : slot.data() - text, slot);
}

// The split done with the C library's tokeniser on a private copy: first
// token, further tokens, and strtok(nullptr, "") for a rest.
Split splitWithStrtok(std::string text, int max, const char* separators) {
  Split split{{max, "count"}};
  for (int i = 0; i < max && split[0].first == max; ++i) {
    const bool rest = i > 0 && i + 1 == max;
    // NOLINTNEXTLINE(concurrency-mt-unsafe)
    const char* slot = std::strtok(i == 0 ? text.data() : nullptr, rest ? "" : separators);
    if (slot == nullptr && !rest) {
      split[0].first = i;
    }
    addSlot(split, text.data(), slot == nullptr ? "" : slot);
  }
  split.resize(max + 1, {-1, ""});
  return split;
}

TEST(SplitTokens, AgreesWithTheCLibraryTokeniserOnGeneratedLines) {
  std::mt19937 random(20261206);
  const std::string alphabet = "ab9-. \t\n\r,;:=";  // from " ": the separators
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    std::generate_n(std::back_inserter(text), random() % 24, [&] { return alphabet[random() % alphabet.size()]; });
    std::string separators;
    std::copy_if(alphabet.begin() + 5, alphabet.end(), std::back_inserter(separators),
                 [&](char /*c*/) { return random() % 2 == 0; });
    const int max = std::vector<int>{2, 3, 4, 8}[random() % 4];
    std::vector<std::string_view> slots(max, "stale");
    Split split{{splitTokens(slots, text, separators), "count"}};
    for (std::string_view slot : slots) {
      addSlot(split, text.data(), slot);
    }
    ASSERT_EQ(split, splitWithStrtok(text, max, separators.c_str()))
        << "text '" << text << "' separators '" << separators << "' max " << max;
  }
}

TEST(IsNumberText, DigitsMinusAndDotOnly) {
  EXPECT_TRUE(isNumberText("") && isNumberText("0129-."));
  EXPECT_FALSE(isNumberText("/") || isNumberText(":") || isNumberText("8a"));
}

}  // namespace
