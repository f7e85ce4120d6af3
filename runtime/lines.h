// The lines of a text, found in place.
#pragma once
#include <algorithm>
#include <cstddef>
#include <string_view>
#include <type_traits>

namespace rt {

// Calls each(line, last) for every line of the text: a carriage return (with or without a line
// feed after it) or a lone line feed ends one, and so does alsoCr, where given, as a carriage
// return would. An empty text is one empty line. An each that returns bool stops the sweep with
// false. Returns the number of lines given to each.
template <class Each>
size_t ForEachLine(std::string_view text, Each&& each, char alsoCr = '\r') {
  size_t n = 0, start = 0;
  for (;;) {
    // find_first_of would look each character up in the set with a call of its own.
    const size_t end = size_t(std::find_if(text.begin() + std::ptrdiff_t(start), text.end(),
                                           [alsoCr](char c) { return c == '\r' || c == '\n' || c == alsoCr; }) -
                              text.begin());
    const bool last = end == text.size();
    ++n;
    if constexpr (std::is_void_v<std::invoke_result_t<Each&, std::string_view, bool>>) {
      each(text.substr(start, end - start), last);
    } else if (!each(text.substr(start, end - start), last)) {
      return n;
    }
    if (last) return n;
    start = end + (text[end] != '\n' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
}

}  // namespace rt
