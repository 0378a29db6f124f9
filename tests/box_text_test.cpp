// What a box keeps of a text: its first 1,000 UTF-16 units, as the window's and the page's boxes
// count them, a character that would not fit whole left out.
#include "platform/box_text.h"

#include <gtest/gtest.h>

#include <string>

namespace loto {
namespace {

std::string Times(int count, const std::string& text) {
    std::string repeated;
    for (int i = 0; i < count; ++i) {
        repeated += text;
    }
    return repeated;
}

TEST(BoxText, KeepsTheFirstThousandUnits) {
    const std::string emoji = "\xF0\x9F\x8E\xB2";  // U+1F3B2: two units, four bytes
    const std::pair<std::string, std::size_t> cases[] = {
        // a text, the bytes kept
        {"", 0},
        {Times(1000, "5"), 1000},
        {Times(1001, "5"), 1000},
        {Times(1000, "\xC3\xA9"), 2000},      // é: one unit, two bytes
        {Times(1001, "\xE2\x80\xAF"), 3000},  // U+202F: one unit, three bytes
        {Times(500, emoji), 2000},
        {Times(501, emoji), 2000},
        {Times(998, "5") + emoji + "5", 1002},
        {Times(999, "5") + emoji, 999},  // half of the pair would not fit
    };
    for (const auto& [text, kept] : cases) {
        EXPECT_EQ(BoxText(text), std::string_view(text).substr(0, kept)) << text.size();
    }
}

}  // namespace
}  // namespace loto
