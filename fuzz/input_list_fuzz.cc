// The input-list read-back on arbitrary file contents: every entry comes back
// whole, and writing the entries again gives the text up to its last ";".
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pipeline/work_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> names = parseInputList(text);
  size_t lastSemicolon = text.rfind(';');
  std::string_view recorded = lastSemicolon == std::string_view::npos ? std::string_view{} : text.substr(0, lastSemicolon + 1);
  if (formatInputList(names) != recorded) {
    std::abort();
  }
  return 0;
}
