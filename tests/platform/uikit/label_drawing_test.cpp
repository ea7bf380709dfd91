// Drawing a label's text that Cairo would refuse (a byte sequence that is not UTF-8, a
// noncharacter, a NUL): Cairo keeps a refusal on the drawing context, which then draws nothing
// more, so one such label took every view drawn after it out of the picture.
#include "LabelFont.h"
#include "Painter.h"
#include "uikit/UIKitConstants.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 60;

// The pixels of a picture holding `text` as a label, then a filled square drawn after it.
std::vector<unsigned char> labelThenSquare(const std::string& text) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    Painter painter(cr);
    painter.drawText(text, CGRectMake(0, 0, 150, kHeight), NSTextAlignmentLeft, 1, CGColor{0, 0, 0, 1});
    painter.fillRoundedRect(CGRectMake(160, 10, 30, 30), 0, CGColor{1, 0, 0, 1});
    EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS) << "drawing " << text.size() << " bytes";
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    std::vector<unsigned char> pixels(data, data + size_t(cairo_image_surface_get_stride(surface)) * kHeight);
    cairo_surface_destroy(surface);
    return pixels;
}

} // namespace

TEST(LabelDrawing, TextCairoWouldRefuseDrawsAsItIsMeasuredAndTheRestOfThePictureStays) {
    const std::string replacement = "\xEF\xBF\xBD";
    struct Case {
        const char* name;
        std::string text;
        std::string drawnAs; // the text it must look like
    };
    const std::vector<Case> cases = {
        {"U+FDD0", "a\xEF\xB7\x90z", "a" + replacement + "z"},
        {"U+FFFE", "a\xEF\xBF\xBEz", "a" + replacement + "z"},
        {"U+10FFFF", "a\xF4\x8F\xBF\xBFz", "a" + replacement + "z"},
        {"a stray continuation byte", "a\x80z", "a" + replacement + "z"},
        {"a short sequence at the end", "a\xE2\x82", "a" + replacement},
        {"a NUL", std::string("a\0z", 3), "az"},
    };
    const std::vector<unsigned char> squareAlone = labelThenSquare("");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cairoText(c.text), c.drawnAs);
        // The same width measured as drawn.
        EXPECT_EQ(LabelFont::shared().width(c.text), LabelFont::shared().width(c.drawnAs));
        const std::vector<unsigned char> pixels = labelThenSquare(c.text);
        EXPECT_EQ(pixels, labelThenSquare(c.drawnAs));
        EXPECT_NE(pixels, squareAlone); // the text itself shows
        // The square drawn after the label is there, red.
        const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, kWidth);
        uint32_t middle;
        std::memcpy(&middle, &pixels[size_t(25) * stride + 175 * 4], 4);
        EXPECT_EQ(middle, 0xFFFF0000u);
    }
}
