#include "uikit/TextLayout.h"

namespace {

const std::string kEllipsis = "\xE2\x80\xA6"; // U+2026

// Length in bytes of the UTF-8 sequence that starts with `lead`.
size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

void dropLastCharacter(std::string& s) {
    if (s.empty()) return;
    size_t i = s.size() - 1;
    while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) --i;
    s.erase(i);
}

// Splits a word that is wider than the width between characters, greedily.
void breakLongWord(std::string_view word, double width, const TextMeasure& measure, std::vector<std::string>& out,
                   std::string& current) {
    for (size_t i = 0; i < word.size();) {
        const size_t n = std::min(sequenceLength(static_cast<unsigned char>(word[i])), word.size() - i);
        std::string candidate = current + std::string(word.substr(i, n));
        if (!current.empty() && measure(candidate) > width) {
            out.push_back(current);
            current = std::string(word.substr(i, n));
        } else {
            current = std::move(candidate);
        }
        i += n;
    }
}

void wrapParagraph(std::string_view paragraph, double width, const TextMeasure& measure,
                   std::vector<std::string>& out) {
    std::string current;
    bool first = true;
    size_t start = 0;
    while (true) {
        const size_t space = paragraph.find(' ', start);
        const std::string_view word = paragraph.substr(start, space == std::string_view::npos ? space : space - start);
        std::string candidate = first ? std::string(word) : current + " " + std::string(word);
        if (first || measure(candidate) <= width) {
            current = std::move(candidate);
        } else {
            out.push_back(current);
            current = std::string(word);
        }
        if (measure(current) > width) {
            std::string rest;
            breakLongWord(current, width, measure, out, rest);
            current = std::move(rest);
        }
        first = false;
        if (space == std::string_view::npos) break;
        start = space + 1;
    }
    out.push_back(current);
}

} // namespace

std::vector<std::string> layoutTextLines(std::string_view text, double width, long maxLines,
                                         const TextMeasure& measure) {
    if (width <= 0) width = kUnlimitedWidth;
    const bool wraps = maxLines != 1 && width != kUnlimitedWidth;
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        const size_t feed = text.find('\n', start);
        const std::string_view paragraph = text.substr(start, feed == std::string_view::npos ? feed : feed - start);
        if (wraps) wrapParagraph(paragraph, width, measure, lines);
        else lines.emplace_back(paragraph);
        if (feed == std::string_view::npos) break;
        start = feed + 1;
    }

    const bool dropped = maxLines > 0 && lines.size() > size_t(maxLines);
    if (dropped) lines.resize(size_t(maxLines));
    std::string& last = lines.back();
    if (dropped || measure(last) > width) {
        while (!last.empty() && measure(last + kEllipsis) > width) dropLastCharacter(last);
        last += kEllipsis;
    }
    return lines;
}
