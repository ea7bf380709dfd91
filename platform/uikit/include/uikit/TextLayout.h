// Breaking a label's text into the lines it shows. Line feeds always break; with more than one
// line allowed, lines also wrap at spaces to fit the width (a word wider than the width breaks
// between characters). When the text needs more lines than allowed, or the last line is wider
// than the width, the last line shown ends in an ellipsis. Pure: widths come from `measure`.
//
// Widths add up: a text is as wide as its characters' widths summed from its start, in order
// (the label font applies no kerning and no shaping). So layout asks `measure` for one character
// at a time and keeps running sums, and its cost grows with the text's length, not its square:
// it stops reading once the lines allowed are full, and a line cut with an ellipsis is read only
// as far as the width reaches. Widths are never negative.
#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

using TextMeasure = std::function<double(std::string_view)>;

inline constexpr double kUnlimitedWidth = std::numeric_limits<double>::infinity();

// Length in bytes of the UTF-8 sequence that starts with `lead` (a stray continuation byte or an
// invalid lead counts as one character of one byte). Layout and the font both step by it.
inline size_t utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

// maxLines 0 means as many lines as the text needs. A width of zero or less is no limit.
std::vector<std::string> layoutTextLines(std::string_view text, double width, long maxLines,
                                         const TextMeasure& measure);
