#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

namespace loto {

// The values of a text between any of `separators`, none empty: "1 2,,3" split at blanks and
// commas is 1, 2 and 3. Parts of the text, nothing copied.
[[nodiscard]] inline std::vector<std::string_view> SplitValues(std::string_view text,
                                                               std::string_view separators) {
    std::vector<std::string_view> values;
    for (std::size_t start = text.find_first_not_of(separators); start != std::string_view::npos;) {
        const std::size_t end = std::min(text.find_first_of(separators, start), text.size());
        values.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(separators, end);
    }
    return values;
}

}  // namespace loto
