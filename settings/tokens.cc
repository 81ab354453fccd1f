#include "settings/tokens.h"

std::string_view nextToken(TokenCursor& cursor, std::string_view separators) {
  std::string_view& rest = cursor.rest;
  std::size_t start = rest.find_first_not_of(separators);
  if (start == std::string_view::npos) {
    rest = {};
    return {};
  }
  std::size_t end = rest.find_first_of(separators, start);
  if (end == std::string_view::npos) {
    std::string_view token = rest.substr(start);
    rest = {};
    return token;
  }
  std::string_view token = rest.substr(start, end - start);
  rest = rest.substr(end + 1);
  return token;
}
