// Breaking a label's text into the lines it shows. Line feeds always break; with more than one
// line allowed, lines also wrap at spaces to fit the width (a word wider than the width breaks
// between characters). When the text needs more lines than allowed, or the last line is wider
// than the width, the last line shown ends in an ellipsis. Pure: widths come from `measure`.
#pragma once

#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

using TextMeasure = std::function<double(std::string_view)>;

inline constexpr double kUnlimitedWidth = std::numeric_limits<double>::infinity();

// maxLines 0 means as many lines as the text needs. A width of zero or less is no limit.
std::vector<std::string> layoutTextLines(std::string_view text, double width, long maxLines,
                                         const TextMeasure& measure);
