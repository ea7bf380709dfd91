#include "uikit/TextLayout.h"

#include <algorithm>
#include <cstdint>

namespace {

const std::string kEllipsis = "\xE2\x80\xA6"; // U+2026

// The index just past the character that starts at `i`.
size_t nextCharacter(std::string_view s, size_t i) {
    return std::min(i + utf8SequenceLength(static_cast<unsigned char>(s[i])), s.size());
}

// Wraps paragraphs into lines, keeping the width of the line being built as a running sum, so
// each character is measured a bounded number of times. A line is a stretch of its paragraph:
// words keep the one space between them, and a line broken inside a word keeps the rest.
class Wrapper {
  public:
    Wrapper(double width, const TextMeasure& measure, size_t wanted, std::vector<std::string>& out)
        : width_(width), measure_(measure), wanted_(wanted), out_(out) {}

    bool full() const { return out_.size() >= wanted_; }

    // A new line joins `out` for every break; the paragraph's last line too.
    void wrap(std::string_view p) {
        size_t lineStart = 0, lineEnd = 0;
        double lineWidth = 0;
        bool first = true;
        size_t start = 0;
        while (!full()) {
            const size_t space = p.find(' ', start);
            const size_t wordEnd = space == std::string_view::npos ? p.size() : space;
            if (first) {
                lineStart = start;
                lineWidth = widthAfter(0, p, start, wordEnd);
            } else {
                // The line so far, its space and the word: the line's sum carried on.
                const double candidate = widthAfter(lineWidth, p, lineEnd, wordEnd);
                if (candidate <= width_) {
                    lineWidth = candidate;
                } else {
                    out_.emplace_back(p.substr(lineStart, lineEnd - lineStart));
                    lineStart = start;
                    lineWidth = widthAfter(0, p, start, wordEnd);
                }
            }
            lineEnd = wordEnd;
            if (lineWidth > width_)
                breakBetweenCharacters(p, lineStart, lineEnd, lineWidth);
            first = false;
            if (space == std::string_view::npos)
                break;
            start = space + 1;
        }
        if (!full())
            out_.emplace_back(p.substr(lineStart, lineEnd - lineStart));
    }

  private:
    // `sum` carried on over the characters of p[from, to), in order. Only whether a line fits
    // is asked of a sum past the width, so the sum stops there (a long word is not read whole).
    double widthAfter(double sum, std::string_view p, size_t from, size_t to) const {
        for (size_t i = from; i < to && !(sum > width_);) {
            const size_t j = nextCharacter(p, i);
            sum += measure_(p.substr(i, j - i));
            i = j;
        }
        return sum;
    }

    // A line wider than the width breaks greedily between characters: every full piece becomes
    // a line, and the rest stays the line being built.
    void breakBetweenCharacters(std::string_view p, size_t& lineStart, size_t lineEnd, double& lineWidth) {
        size_t restStart = lineStart;
        double restWidth = 0;
        for (size_t i = lineStart; i < lineEnd && !full();) {
            const size_t j = nextCharacter(p, i);
            const double w = measure_(p.substr(i, j - i));
            if (i != restStart && restWidth + w > width_) {
                out_.emplace_back(p.substr(restStart, i - restStart));
                restStart = i;
                restWidth = w;
            } else {
                restWidth += w;
            }
            i = j;
        }
        lineStart = restStart;
        lineWidth = restWidth;
    }

    double width_;
    const TextMeasure& measure_;
    size_t wanted_;
    std::vector<std::string>& out_;
};

// Ends `line` in an ellipsis when it is cut (`cut`) or wider than `width`, keeping the longest
// start that fits with the ellipsis. Reads the line only until it is known to be too wide.
void endInEllipsis(std::string& line, double width, bool cut, const TextMeasure& measure) {
    if (!cut && width == kUnlimitedWidth)
        return; // no line is wider than no limit
    const double ellipsis = measure(kEllipsis);
    size_t keep = 0;
    double sum = 0;
    bool wider = false;
    for (size_t i = 0; i < line.size();) {
        const size_t j = nextCharacter(line, i);
        sum += measure(std::string_view(line).substr(i, j - i));
        wider = wider || sum > width;
        const bool fitsWithEllipsis = !(sum + ellipsis > width);
        if (fitsWithEllipsis)
            keep = j;
        // Widths never shrink: no longer start fits with the ellipsis, and whether the whole
        // line is too wide is known (or does not matter).
        if (!fitsWithEllipsis && (wider || cut))
            break;
        i = j;
    }
    if (!cut && !wider)
        return;
    line.resize(keep);
    line += kEllipsis;
}

} // namespace

std::vector<std::string> layoutTextLines(std::string_view text, double width, long maxLines,
                                         const TextMeasure& measure) {
    if (width <= 0)
        width = kUnlimitedWidth;
    const bool wraps = maxLines != 1 && width != kUnlimitedWidth;
    // One line past the limit tells that lines were dropped; none after it is needed.
    const size_t wanted = maxLines > 0 ? size_t(maxLines) + 1 : SIZE_MAX;
    std::vector<std::string> lines;
    Wrapper wrapper(width, measure, wanted, lines);
    size_t start = 0;
    while (lines.size() < wanted) {
        const size_t feed = text.find('\n', start);
        const std::string_view paragraph =
            text.substr(start, feed == std::string_view::npos ? feed : feed - start);
        if (wraps)
            wrapper.wrap(paragraph);
        else
            lines.emplace_back(paragraph);
        if (feed == std::string_view::npos)
            break;
        start = feed + 1;
    }

    const bool dropped = maxLines > 0 && lines.size() > size_t(maxLines);
    if (dropped)
        lines.resize(size_t(maxLines));
    endInEllipsis(lines.back(), width, dropped, measure);
    return lines;
}
