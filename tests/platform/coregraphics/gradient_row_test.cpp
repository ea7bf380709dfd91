// The row of an opaque gradient across, at every vector width the processor runs, against the
// colors CGGradientColorAt gives column by column: every width from 1 to 70 columns and two wide
// rows, at several first columns and buffer alignments, forward and reversed, with the ends
// inside and outside the row. Nothing may be written beyond the row. And the row copy that
// writes held-back rows, against memcpy, at every length and alignment around its vector steps.
#include "GradientRow.h"
#include "PixelSpans.h"
#include "coregraphics/CoreGraphics.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

const CGFloat kInfinity = std::numeric_limits<CGFloat>::infinity();

struct Stops {
    std::string name;
    std::vector<CGColor> colors;
    std::vector<CGFloat> locations; // empty: evenly spaced
};

const std::vector<Stops> kStops = {
    {"two stops", {{1, 0, 0, 1}, {0, 0, 1, 1}}, {}},
    {"hue ramp",
     {{1, 0, 0, 1}, {1, 1, 0, 1}, {0, 1, 0, 1}, {0, 1, 1, 1}, {0, 0, 1, 1}, {1, 0, 1, 1}, {1, 0, 0, 1}},
     {}},
    {"odd fractions", {{0.3, 0.71, 0.05, 1}, {0.999, 0.001, 0.5, 1}, {0.5, 0.5, 0.5, 1}}, {}},
    {"stops inside, repeated",
     {{0, 0, 0, 1}, {1, 1, 1, 1}, {0, 1, 0, 1}, {1, 0, 1, 1}},
     {0.2, 0.5, 0.5, 0.8}},
    {"locations beyond the ends", {{0, 0, 1, 1}, {1, 1, 0, 1}}, {-0.5, 1.5}},
    {"colors out of range", {{-0.5, 2, 0.5, 1}, {1.5, -1, 0.25, 1}}, {}},
    {"one stop", {{0.2, 0.4, 0.6, 1}}, {}},
    // The end colors are taken as they are, not interpolated: infinity x 0 would make them NaN.
    {"infinite colors", {{kInfinity, 0.5, -kInfinity, 1}, {0.25, kInfinity, 0.75, 1}}, {}},
};

struct RowLine {
    std::string name;
    double scale, offset; // pixels a point; where the view starts, in pixels
    bool reversed;
    double overshoot; // how far beyond the row the end points lie, in points
    bool extended;    // painted before the start and after the end
};

const std::vector<RowLine> kRowLines = {
    {"left to right", 1, 0, false, 0, false},          {"right to left at 3x", 3, 0, true, 0, false},
    {"at 2x from column 5", 2, 5, false, 0, false},    {"ends inside", 1, 3, true, 2, false},
    {"ends inside, extended", 2, 0, false, 1.5, true}, {"ends outside", 3, 1, false, -4, false},
};

std::vector<size_t> widths() {
    std::vector<size_t> out;
    for (size_t n = 1; n <= 70; ++n)
        out.push_back(n);
    out.push_back(901);
    out.push_back(1160);
    return out;
}

std::vector<cg::RowVectors> vectorWidths() {
    std::vector<cg::RowVectors> out{cg::RowVectors::One};
    if (cg::widestRowVectors() != cg::RowVectors::One)
        out.push_back(cg::RowVectors::Two);
    if (cg::widestRowVectors() >= cg::RowVectors::Four)
        out.push_back(cg::RowVectors::Four);
    if (cg::widestRowVectors() == cg::RowVectors::Eight)
        out.push_back(cg::RowVectors::Eight);
    return out;
}

const uint8_t kCanary = 0xA5;

TEST(GradientRow, EveryVectorWidthGivesTheColorsOfThePlainLookupByteForByte) {
    for (const Stops& stops : kStops) {
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        CGGradientRef gradient = CGGradientCreateWithColors(
            space, stops.colors, stops.locations.empty() ? nullptr : stops.locations.data());
        CGColorSpaceRelease(space);
        // The stops as the gradient sorted them: the lookup below reads them from the gradient.
        std::vector<CGFloat> at(stops.colors.size());
        for (size_t i = 0; i < at.size(); ++i)
            at[i] = stops.locations.empty() ? (at.size() == 1 ? 0 : CGFloat(i) / CGFloat(at.size() - 1))
                                            : stops.locations[i];
        const cg::RowStops rowStops{at.data(), stops.colors.data(), at.size()};
        for (const RowLine& line : kRowLines)
            for (size_t n : widths()) {
                const double points = double(n) / line.scale;
                CGPoint a{line.overshoot, 7}, b{points - line.overshoot, 7};
                if (line.reversed)
                    std::swap(a, b);
                const CGFloat dx = b.x - a.x;
                if (dx == 0)
                    continue; // end points that coincide paint nothing, and are not drawn
                const cg::RowLine row{line.offset,       line.scale, a.x,           dx,
                                      (a.y - a.y) * 0.0, dx * dx,    line.extended, line.extended};
                const int64_t x0 = int64_t(line.offset);
                // Positions and colors worked out here, one column at a time.
                std::vector<CGFloat> s(n);
                std::vector<uint8_t> expected(4 * n, 0);
                std::vector<uint16_t> expectedFine(4 * n, 0);
                std::vector<bool> painted(n);
                for (size_t i = 0; i < n; ++i) {
                    const CGFloat ux = (CGFloat(x0 + int64_t(i)) + 0.5 - line.offset) / line.scale;
                    s[i] = ((ux - a.x) * dx + (a.y - a.y) * 0.0) / (dx * dx);
                    painted[i] = line.extended || (s[i] >= 0 && s[i] <= 1);
                    if (!painted[i])
                        continue;
                    const CGColor c = CGGradientColorAt(gradient, s[i]);
                    const double channels[3] = {c.r, c.g, c.b};
                    for (int ch = 0; ch < 3; ++ch) {
                        expected[4 * i + ch] = cg::byteLevel(channels[ch]);
                        expectedFine[4 * i + ch] = cg::fineLevel(channels[ch]);
                    }
                    expected[4 * i + 3] = 255;
                    expectedFine[4 * i + 3] = cg::fineLevel(1);
                }
                for (cg::RowVectors vectors : vectorWidths())
                    for (size_t shift : {0, 1, 3}) {
                        SCOPED_TRACE(stops.name + ", " + line.name + ", " + std::to_string(n) +
                                     " columns, vectors " + std::to_string(int(vectors)) +
                                     ", buffers shifted by " + std::to_string(shift));
                        std::vector<CGFloat> positions(n + shift + 4, -7.0);
                        cg::rowPositions(row, x0, n, positions.data() + shift, vectors);
                        ASSERT_EQ(std::memcmp(positions.data() + shift, s.data(), n * sizeof(CGFloat)), 0);
                        EXPECT_EQ(positions[shift + n], -7.0) << "a position written beyond the row";
                        std::vector<uint8_t> pattern(4 * (n + shift + 4), kCanary);
                        std::vector<uint16_t> fine(4 * (n + shift + 4), kCanary);
                        uint8_t* p = pattern.data() + 4 * shift;
                        uint16_t* f = fine.data() + 4 * shift;
                        cg::opaqueRow(row, rowStops, s.data(), n, p, f, vectors);
                        size_t firstDifference = 0;
                        while (firstDifference < 4 * n && p[firstDifference] == expected[firstDifference])
                            ++firstDifference;
                        EXPECT_EQ(firstDifference, 4 * n)
                            << "first differing byte at column " << firstDifference / 4;
                        for (size_t i = 0; i < n; ++i) {
                            if (!painted[i])
                                continue;
                            ASSERT_EQ(std::memcmp(f + 4 * i, &expectedFine[4 * i], 8), 0)
                                << "fine row at column " << i;
                        }
                        for (size_t k = 4 * (shift + n); k < pattern.size(); ++k)
                            ASSERT_EQ(pattern[k], kCanary);
                        for (size_t k = 4 * (shift + n); k < fine.size(); ++k)
                            ASSERT_EQ(fine[k], kCanary);
                        // Without a fine row only the stored row is written.
                        std::vector<uint8_t> alone(4 * n + 16, kCanary);
                        cg::opaqueRow(row, rowStops, s.data(), n, alone.data(), nullptr, vectors);
                        EXPECT_EQ(std::memcmp(alone.data(), p, 4 * n), 0);
                    }
            }
        CGGradientRelease(gradient);
    }
}

TEST(RowCopy, CopiesEveryLengthAtEveryAlignmentAndNothingMore) {
    std::vector<uint8_t> source(600);
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = uint8_t(i * 37 + 11);
    for (size_t n = 0; n <= 300; ++n)
        for (size_t target = 0; target < 64; ++target) {
            alignas(64) uint8_t buffer[448];
            std::memset(buffer, kCanary, sizeof buffer);
            cg::copyRow(buffer + 16 + target, source.data() + (n % 7), n);
            SCOPED_TRACE(std::to_string(n) + " bytes to offset " + std::to_string(16 + target));
            ASSERT_EQ(std::memcmp(buffer + 16 + target, source.data() + (n % 7), n), 0);
            for (size_t k = 0; k < 16 + target; ++k)
                ASSERT_EQ(buffer[k], kCanary);
            for (size_t k = 16 + target + n; k < sizeof buffer; ++k)
                ASSERT_EQ(buffer[k], kCanary);
        }
}

} // namespace
