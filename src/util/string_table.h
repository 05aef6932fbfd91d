#pragma once
// Texts by language string id ("Str210"). The current language implements this; code that shows
// captions or messages depends only on this lookup.

#include <string>
#include <string_view>

namespace zelt {

class StringTable {
 public:
  virtual ~StringTable() = default;
  // The UTF-8 text of the id in this table, or the empty text when it has none.
  virtual std::string Text(std::string_view string_id) const = 0;
};

}  // namespace zelt
