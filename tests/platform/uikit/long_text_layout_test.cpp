// Layout of long texts: the lines are those of the plain definition (every candidate line
// measured whole), the work grows with the text's length only, and the label font's widths are
// Cairo's to the last bit.
#include "LabelFont.h"
#include "uikit/TextLayout.h"
#include "uikit/UILabel.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <utility>
#include <vector>

namespace {

const std::string kEllipsis = "\xE2\x80\xA6";

// The plain definition of the lines, slow on long texts: every candidate line is measured whole
// and a cut line loses one character at a time until it fits with the ellipsis.
std::vector<std::string> wholeStringLayout(std::string_view text, double width, long maxLines,
                                           const TextMeasure& measure) {
    auto dropLast = [](std::string& s) {
        size_t i = s.size() - 1;
        while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            --i;
        s.erase(i);
    };
    auto breakWord = [&](std::string_view word, std::vector<std::string>& out, std::string& current) {
        for (size_t i = 0; i < word.size();) {
            const size_t n =
                std::min(utf8SequenceLength(static_cast<unsigned char>(word[i])), word.size() - i);
            std::string candidate = current + std::string(word.substr(i, n));
            if (!current.empty() && measure(candidate) > width) {
                out.push_back(current);
                current = std::string(word.substr(i, n));
            } else {
                current = std::move(candidate);
            }
            i += n;
        }
    };
    if (width <= 0)
        width = kUnlimitedWidth;
    const bool wraps = maxLines != 1 && width != kUnlimitedWidth;
    std::vector<std::string> lines;
    for (size_t start = 0;;) {
        const size_t feed = text.find('\n', start);
        const std::string_view p = text.substr(start, feed == std::string_view::npos ? feed : feed - start);
        if (!wraps) {
            lines.emplace_back(p);
        } else {
            std::string current;
            bool first = true;
            for (size_t from = 0;;) {
                const size_t space = p.find(' ', from);
                const std::string word(
                    p.substr(from, space == std::string_view::npos ? space : space - from));
                std::string candidate = first ? word : current + " " + word;
                if (first || measure(candidate) <= width) {
                    current = std::move(candidate);
                } else {
                    lines.push_back(current);
                    current = word;
                }
                if (measure(current) > width) {
                    std::string rest;
                    breakWord(current, lines, rest);
                    current = std::move(rest);
                }
                first = false;
                if (space == std::string_view::npos)
                    break;
                from = space + 1;
            }
            lines.push_back(current);
        }
        if (feed == std::string_view::npos)
            break;
        start = feed + 1;
    }
    const bool dropped = maxLines > 0 && lines.size() > size_t(maxLines);
    if (dropped)
        lines.resize(size_t(maxLines));
    std::string& last = lines.back();
    if (dropped || measure(last) > width) {
        while (!last.empty() && measure(last + kEllipsis) > width)
            dropLast(last);
        last += kEllipsis;
    }
    return lines;
}

// Uneven fractional widths, summed in order as a font sums its advances: a sum kept in another
// order can differ in the last bit and move a break.
double unevenWidths(std::string_view s) {
    double sum = 0;
    for (size_t i = 0; i < s.size();) {
        const size_t n = std::min(utf8SequenceLength(static_cast<unsigned char>(s[i])), s.size() - i);
        sum += 3.1 + 1.37 * double(static_cast<unsigned char>(s[i]) % 7) + 0.1 * double(n);
        i += n;
    }
    return sum;
}

std::string randomText(std::mt19937& rng, size_t words) {
    static const std::vector<std::string> kPieces = {"a",
                                                     "Wake",
                                                     "up",
                                                     "\xC3\xA9t\xC3\xA9",
                                                     "\xE2\x80\x94",
                                                     "snoozing",
                                                     "Hushmarked",
                                                     "supercalifragilistic",
                                                     "",
                                                     "\n",
                                                     "x",
                                                     "\xF0\x9F\x98\x80"};
    std::string s;
    for (size_t i = 0; i < words; ++i) {
        if (i)
            s += rng() % 9 == 0 ? "  " : " ";
        s += kPieces[rng() % kPieces.size()];
    }
    return s;
}

struct Measure {
    const char* name;
    TextMeasure measure;
};
void PrintTo(const Measure& c, std::ostream* os) {
    *os << c.name;
}

class SameLinesAsThePlainDefinition : public ::testing::TestWithParam<Measure> {};

TEST_P(SameLinesAsThePlainDefinition, ForManyTextsWidthsAndLimits) {
    const TextMeasure& measure = GetParam().measure;
    std::mt19937 rng(2026);
    for (int round = 0; round < 400; ++round) {
        const std::string text = randomText(rng, 1 + rng() % 40);
        for (double width : {0.0, 4.0, 17.0, 40.0, 73.3, 150.0, 290.0}) {
            for (long maxLines : {0L, 1L, 2L, 3L, 6L}) {
                ASSERT_EQ(layoutTextLines(text, width, maxLines, measure),
                          wholeStringLayout(text, width, maxLines, measure))
                    << "text \"" << text << "\" width " << width << " lines " << maxLines;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Measures, SameLinesAsThePlainDefinition,
    ::testing::Values(Measure{"TenPerByte", [](std::string_view s) { return 10.0 * double(s.size()); }},
                      Measure{"Uneven", unevenWidths}, Measure{"LabelFont", LabelFont::shared().measure()}),
    [](const auto& info) { return std::string(info.param.name); });

// Counts the characters measured (a call on a longer text counts each of its bytes).
struct CountingMeasure {
    size_t bytes = 0;
    TextMeasure measure() {
        return [this](std::string_view s) {
            bytes += s.size();
            return 10.0 * double(s.size());
        };
    }
};

std::string words(size_t length) {
    std::string s;
    while (s.size() < length)
        s += "wake up gently ";
    s.resize(length);
    return s;
}

// The text is made when the case runs: every case of this program runs in a process of its own,
// and texts made with the cases' list would be built (1.8 MB) at each of those starts.
struct WorkCase {
    const char* name;
    std::string (*text)();
    double width;
    long maxLines;
    bool cut;
    size_t mostBytesMeasured;
};
void PrintTo(const WorkCase& c, std::ostream* os) {
    *os << c.name;
}

class MeasuresOnlyWhatItMust : public ::testing::TestWithParam<WorkCase> {};

TEST_P(MeasuresOnlyWhatItMust, OnAVeryLongText) {
    const WorkCase& c = GetParam();
    CountingMeasure counter;
    const auto lines = layoutTextLines(c.text(), c.width, c.maxLines, counter.measure());
    EXPECT_EQ(lines.back().substr(lines.back().size() - 3) == kEllipsis, c.cut) << lines.back();
    EXPECT_LE(counter.bytes, c.mostBytesMeasured);
}

// 300,000 bytes each; a 290-point line holds 29 of them.
INSTANTIATE_TEST_SUITE_P(
    Texts, MeasuresOnlyWhatItMust,
    ::testing::Values(
        WorkCase{"OneLine", [] { return words(300000); }, 290, 1, true, 100},
        WorkCase{"OneLineWithoutSpaces", [] { return std::string(300000, 'x'); }, 290, 1, true, 100},
        WorkCase{"OneLineOfManyLineFeeds", [] { return std::string(300000, '\n'); }, 290, 1, true, 10},
        WorkCase{"TwoWrappedLines", [] { return words(300000); }, 290, 2, true, 400},
        WorkCase{"TwoLinesOfOneLongWord", [] { return std::string(300000, 'x'); }, 290, 2, true, 400},
        // No width: the line shows whole and needs no measuring.
        WorkCase{"NoWidthOneLine", [] { return words(300000); }, 0, 1, false, 10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LongTextLayout, EveryLineOfAWholeTextCostsInProportionToItsLength) {
    for (const std::string& unit :
         {std::string("wake up gently "), std::string("x"), std::string("\xC3\xA9 ")}) {
        size_t measured[2] = {};
        for (size_t k : {0, 1}) {
            std::string text;
            while (text.size() < (k + 1) * 100000)
                text += unit;
            CountingMeasure counter;
            const auto lines = layoutTextLines(text, 290, 0, counter.measure());
            EXPECT_GT(lines.size(), text.size() / 40) << unit;
            measured[k] = counter.bytes;
            // Each character is measured a few times at most: as part of a candidate line, alone
            // after a break, and once more when a word is broken between characters.
            EXPECT_LE(counter.bytes, 4 * text.size()) << unit;
        }
        EXPECT_LE(measured[1], 2 * measured[0] + 100) << unit;
    }
}

TEST(LabelFont, WidthsAreCairosToTheLastBit) {
    const LabelFont& font = LabelFont::shared();
    cairo_matrix_t size, identity;
    cairo_matrix_init_scale(&size, kLabelFontSize, kLabelFontSize);
    cairo_matrix_init_identity(&identity);
    cairo_scaled_font_t* cairoFont = cairo_scaled_font_create(font.face(), &size, &identity, font.options());
    for (const std::string text :
         {"Hushmark", "#FFFFFFF", "Hushmarked Until: Monday, December 7, 2026 at 8:20:10 AM",
          "Caf\xC3\xA9 \xE2\x80\x94 \xE2\x80\xB9 Back", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",
          "\xF0\x9F\x98\x80 emoji", "iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii WWWWWWWWWWWWW", " ", "a"}) {
        cairo_text_extents_t extents;
        cairo_scaled_font_text_extents(cairoFont, text.c_str(), &extents);
        EXPECT_EQ(font.width(text), extents.x_advance) << text;
    }
    cairo_scaled_font_destroy(cairoFont);
    EXPECT_EQ(font.width(""), 0);
}

double cairoWidth(const LabelFont& font, const std::string& text) {
    cairo_matrix_t size, identity;
    cairo_matrix_init_scale(&size, kLabelFontSize, kLabelFontSize);
    cairo_matrix_init_identity(&identity);
    cairo_scaled_font_t* cairoFont = cairo_scaled_font_create(font.face(), &size, &identity, font.options());
    cairo_text_extents_t extents;
    cairo_scaled_font_text_extents(cairoFont, text.c_str(), &extents);
    cairo_scaled_font_destroy(cairoFont);
    return extents.x_advance;
}

// The font remembers advances in blocks of 256 characters, made on first use: characters on
// either side of a block's edge, the table's last one and the first past it, each measured
// twice (the second time as remembered), and all of them in one text. Cairo refuses a text that
// holds a noncharacter (U+FDD0 to U+FDEF, the last two of every plane), and keeps the refusal on
// its font, after which it measures everything as zero: such a character is as wide as U+FFFD,
// and the characters measured after it keep their widths.
TEST(LabelFont, AdvancesOnEitherSideOfABlockEdgeAreCairos) {
    const LabelFont& font = LabelFont::shared();
    const std::string replacement = "\xEF\xBF\xBD";
    struct Case {
        const char* name;
        std::string text;
        std::string asCairo; // the text Cairo measures to the same width
    };
    const std::vector<Case> characters = {{"U+00FF", "\xC3\xBF", "\xC3\xBF"},
                                          {"U+0100", "\xC4\x80", "\xC4\x80"},
                                          {"U+04FF", "\xD3\xBF", "\xD3\xBF"},
                                          {"U+0500", "\xD4\x80", "\xD4\x80"},
                                          {"U+FDD0", "\xEF\xB7\x90", replacement},
                                          {"U+FFFD", replacement, replacement},
                                          {"U+FFFF", "\xEF\xBF\xBF", replacement},
                                          {"U+10000", "\xF0\x90\x80\x80", "\xF0\x90\x80\x80"},
                                          {"U+1FFFE", "\xF0\x9F\xBF\xBE", replacement},
                                          {"U+1F600", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
                                          {"U+00E6", "\xC3\xA6", "\xC3\xA6"}};
    std::string all, allAsCairo;
    for (const auto& c : characters) {
        const double cairo = cairoWidth(font, c.asCairo);
        EXPECT_GT(cairo, 0) << c.name;
        EXPECT_EQ(font.width(c.text), cairo) << c.name;
        EXPECT_EQ(font.width(c.text), cairo) << c.name << ", remembered";
        all += c.text;
        allAsCairo += c.asCairo;
    }
    EXPECT_EQ(font.width(all), cairoWidth(font, allAsCairo));
}

// Threads measuring at once, in blocks no one has used yet, all get Cairo's widths.
TEST(LabelFont, ThreadsMeasuringAtOnceGetCairosWidths) {
    const LabelFont& font = LabelFont::shared();
    // Greek, Cyrillic, Armenian and Hebrew letters: blocks that no other text in these tests uses.
    const std::vector<std::string> texts = {"\xCE\x9E\xCF\x85\xCF\x80\xCE\xBD", "\xD0\x91\xD1\x83\xD0\xB4",
                                            "\xD5\x8A\xD5\xA1\xD5\xB0", "\xD7\x90\xD7\x91\xD7\x92"};
    std::vector<double> expected;
    for (const auto& text : texts)
        expected.push_back(cairoWidth(font, text));
    std::vector<std::vector<double>> seen(4);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < seen.size(); ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round)
                for (const auto& text : texts)
                    seen[t].push_back(font.width(text));
        });
    for (auto& thread : threads)
        thread.join();
    for (size_t t = 0; t < seen.size(); ++t)
        for (size_t i = 0; i < seen[t].size(); ++i)
            ASSERT_EQ(seen[t][i], expected[i % texts.size()]) << "thread " << t << ", measure " << i;
}

struct DecodeCase {
    const char* name;
    std::string bytes;
    char32_t character;
};
void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}

class Utf8Characters : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8Characters, DecodeOrStandForTheReplacementCharacter) {
    EXPECT_EQ(decodeUtf8Character(GetParam().bytes), GetParam().character);
}

INSTANTIATE_TEST_SUITE_P(Sequences, Utf8Characters,
                         ::testing::Values(DecodeCase{"Ascii", "A", U'A'},
                                           DecodeCase{"TwoBytes", "\xC3\xA9", 0xE9},
                                           DecodeCase{"ThreeBytes", "\xE2\x80\xA6", 0x2026},
                                           DecodeCase{"FourBytes", "\xF0\x9F\x98\x80", 0x1F600},
                                           DecodeCase{"StrayContinuation", "\x80", 0xFFFD},
                                           DecodeCase{"LeadAlone", "\xC3", 0xFFFD},
                                           DecodeCase{"BadContinuation", "\xC3(", 0xFFFD},
                                           DecodeCase{"Overlong", "\xC0\xAF", 0xFFFD},
                                           DecodeCase{"OverlongThree", "\xE0\x80\xAF", 0xFFFD},
                                           DecodeCase{"Surrogate", "\xED\xA0\x80", 0xFFFD},
                                           DecodeCase{"PastUnicode", "\xF4\x90\x80\x80", 0xFFFD},
                                           DecodeCase{"FiveByteLead", "\xF8\x88\x80\x80", 0xFFFD},
                                           DecodeCase{"Empty", "", 0xFFFD}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LabelFont, TextThatIsNotUtf8StillMeasuresAndLeavesTheFontWorking) {
    const LabelFont& font = LabelFont::shared();
    const double before = font.width("Hushmark");
    // A stray byte is one replacement character wide; so is a bad sequence, as long as its lead
    // byte says.
    EXPECT_EQ(font.width("a\x80"
                         "b"),
              font.width("a\xEF\xBF\xBD"
                         "b"));
    EXPECT_EQ(font.width("a\xFF"
                         "bcd"),
              font.width("a\xEF\xBF\xBD"));
    EXPECT_GT(font.width("\xC3(\x80"), 0);
    EXPECT_EQ(font.width("Hushmark"), before);
}

TEST(LongTextLayout, AOneLineLabelShowsTheStartOfAVeryLongText) {
    const std::string text = words(300000);
    const auto shown = labelShownLines(text, {290, 21}, 1);
    ASSERT_EQ(shown.size(), 1u);
    const std::string kept = shown[0].substr(0, shown[0].size() - 3);
    EXPECT_EQ(text.rfind(kept, 0), 0u);
    EXPECT_EQ(shown, labelShownLines(text.substr(0, 200), {290, 21}, 1))
        << "the same as for its first 200 characters";
    EXPECT_EQ(labelTextSize(text, 0, 1).height, 21);
    EXPECT_GT(labelTextSize(text, 0, 1).width, 1e6);
}

} // namespace
