#include "uikit/UISnapshot.h"
#include "uikit/UIView.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

// Fills its left half green and its right half half-transparent blue, through the current context.
struct HalvesView : UIView {
    void drawRect(CGRect rect) {
        CGContextRef ctx = UIGraphicsGetCurrentContext();
        CGContextSetRGBFillColor(ctx, 0, 1, 0, 1);
        CGContextFillRect(ctx, CGRectMake(0, 0, rect.size.width / 2, rect.size.height));
        CGContextSetRGBFillColor(ctx, 0, 0, 1, 0.5);
        CGContextFillRect(ctx, CGRectMake(rect.size.width / 2, 0, rect.size.width / 2, rect.size.height));
    }
};
const ClassDef<HalvesView> kHalvesView("TestHalvesView", "UIView",
                                       {method("drawRect:", &HalvesView::drawRect)});

using Px = SnapshotImage::Pixel;
void expectPixel(const SnapshotImage& img, size_t x, size_t y, Px want, int tolerance = 2) {
    const Px got = img.at(x, y);
    EXPECT_NEAR(got.r, want.r, tolerance) << "at " << x << "," << y;
    EXPECT_NEAR(got.g, want.g, tolerance) << "at " << x << "," << y;
    EXPECT_NEAR(got.b, want.b, tolerance) << "at " << x << "," << y;
    EXPECT_NEAR(got.a, want.a, tolerance) << "at " << x << "," << y;
}
bool isDark(Px p) {
    return p.a > 0 && p.r < 128 && p.g < 128 && p.b < 128;
}
int darkPixelsIn(const SnapshotImage& img, size_t x0, size_t y0, size_t x1, size_t y1) {
    int n = 0;
    for (size_t y = y0; y < y1; ++y)
        for (size_t x = x0; x < x1; ++x)
            n += isDark(img.at(x, y));
    return n;
}

// A 200 x 200 white root holding one sample of each kind of painting.
struct Tree {
    id root = makeView("UIView", CGRectMake(500, 500, 200, 200)); // its own origin is not drawn
    Tree() {
        msg(root, "setBackgroundColor:", rgba(1, 1, 1));
        add(CGRectMake(0, 0, 40, 40), rgba(1, 0, 0));       // plain red
        add(CGRectMake(0, 50, 40, 40), rgba(1, 0, 0, 0.5)); // red at half alpha
        id faded = add(CGRectMake(0, 100, 40, 40), rgba(0, 0, 1));
        msg(faded, "setAlpha:", CGFloat{0.5}); // blue view at half alpha
        id round = add(CGRectMake(50, 0, 40, 40), rgba(0, 0, 1));
        id layer = msg<id>(round, "layer");
        msg(layer, "setCornerRadius:", CGFloat{10});
        msg(layer, "setBorderWidth:", CGFloat{2});
        msg(layer, "setBorderColor:", CGColorMake(0, 0, 0, 1));
        id clip = add(CGRectMake(50, 50, 40, 40), nullptr);
        msg(msg<id>(clip, "layer"), "setMasksToBounds:", true);
        msg(clip, "addSubview:", makeView("UIView", CGRectMake(-20, -20, 80, 80)));
        msg(msg<std::vector<id>>(clip, "subviews")[0], "setBackgroundColor:", rgba(0, 1, 0));
        id hidden = add(CGRectMake(100, 0, 40, 40), rgba(0, 0, 0));
        msg(hidden, "setHidden:", true);
        msg(root, "addSubview:", msg<id>(classObject(objc_getClass("TestHalvesView")), "alloc"));
        id halves = msg<std::vector<id>>(root, "subviews").back();
        msg<id>(halves, "initWithFrame:", CGRectMake(100, 50, 40, 40));
        id label = makeView("UILabel", CGRectMake(0, 150, 200, 40));
        msg(label, "setText:", "Hi");
        msg(label, "setTextAlignment:", NSInteger{2});
        msg(root, "addSubview:", label);
        id shadowed = add(CGRectMake(150, 0, 30, 30), rgba(1, 1, 1));
        msg(msg<id>(shadowed, "layer"), "setShadowOpacity:", 1.0f);
        msg(msg<id>(shadowed, "layer"), "setShadowOffset:", CGSizeMake(0, 5));
        msg(msg<id>(shadowed, "layer"), "setShadowRadius:", CGFloat{1});
    }
    id add(CGRect frame, id color) {
        id v = makeView("UIView", frame);
        if (color)
            msg(v, "setBackgroundColor:", color);
        msg(root, "addSubview:", v);
        return v;
    }
};

TEST(Snapshot, PaintsBackgroundsAlphaCornersBordersClipsAndDrawRect) {
    Tree t;
    const SnapshotImage img = UISnapshotRenderView(t.root, 1);
    ASSERT_EQ(img.width, 200u);
    ASSERT_EQ(img.height, 200u);
    const Px white{255, 255, 255, 255}, red{255, 0, 0, 255}, blue{0, 0, 255, 255}, black{0, 0, 0, 255};
    expectPixel(img, 20, 20, red);
    expectPixel(img, 45, 20, white);
    expectPixel(img, 20, 70, {255, 128, 128, 255});  // background alpha
    expectPixel(img, 20, 120, {128, 128, 255, 255}); // view alpha
    expectPixel(img, 70, 20, blue);                  // inside the rounded box
    expectPixel(img, 50, 0, white);                  // its cut corner
    expectPixel(img, 50, 20, black);                 // its border, inside the edge
    expectPixel(img, 70, 39, black);
    expectPixel(img, 70, 70, {0, 255, 0, 255});      // the clipped child inside its parent
    expectPixel(img, 95, 70, white);                 // and not beyond it
    expectPixel(img, 120, 20, white);                // hidden views paint nothing
    expectPixel(img, 105, 70, {0, 255, 0, 255});     // drawRect:, left half
    expectPixel(img, 135, 70, {128, 128, 255, 255}); // drawRect:, right half over white
    // The shadow falls 5 points below the white box, darker near it than far from it.
    expectPixel(img, 165, 15, white);
    const Px under = img.at(165, 33);
    EXPECT_LT(under.r, 200);
    EXPECT_GT(img.at(165, 45).r, under.r);
    // Right-aligned text: ink in the right part of the label only.
    EXPECT_GT(darkPixelsIn(img, 150, 150, 200, 190), 20);
    EXPECT_EQ(darkPixelsIn(img, 0, 150, 150, 190), 0);
}

TEST(Snapshot, ScaleMultipliesPixelsAndWritesAPNG) {
    Tree t;
    const SnapshotImage img = UISnapshotRenderView(t.root, 2);
    EXPECT_EQ(img.width, 400u);
    expectPixel(img, 40, 40, {255, 0, 0, 255});
    expectPixel(img, 210, 140, {0, 255, 0, 255});
    const auto path =
        std::filesystem::temp_directory_path() / ("uikit-snapshot-" + std::to_string(::getpid()) + ".png");
    EXPECT_TRUE(UISnapshotWriteView(t.root, path.string(), 1));
    EXPECT_GT(std::filesystem::file_size(path), 100u);
    std::filesystem::remove(path);
    EXPECT_FALSE(UISnapshotWriteView(t.root, "/nonexistent-folder/x.png", 1));
}

TEST(Snapshot, ZeroSizedAndMissingViewsGiveEmptyImages) {
    EXPECT_EQ(UISnapshotRenderView(makeView("UIView", CGRectZero), 2).width, 0u);
    EXPECT_EQ(UISnapshotRenderView(nullptr, 2).width, 0u);
    id v = makeView("TestHalvesView", CGRectMake(0, 0, 0, 10));
    id root = makeView("UIView", CGRectMake(0, 0, 10, 10));
    msg(root, "addSubview:", v);
    EXPECT_EQ(UISnapshotRenderView(root, 1).at(0, 0).a, 0);
}

// What a view tree draws beyond its own bounds: a subview running past the bottom counts, one
// that is hidden, transparent or of no size does not, nor what a clipping view cuts off.
struct DrawnCase {
    const char* name;
    bool hidden;
    CGFloat alpha;
    bool parentClips;
    CGSize size;
    CGFloat bottom; // of the drawn rect
};
class SnapshotDrawnRect : public ::testing::TestWithParam<DrawnCase> {};

TEST_P(SnapshotDrawnRect, CoversWhatTheTreeShows) {
    const DrawnCase& c = GetParam();
    id root = makeView("UIView", CGRectMake(0, 0, 100, 100));
    id holder = makeView("UIView", CGRectMake(10, 60, 50, 30));
    msg(holder, "setBounds:", CGRectMake(0, 5, 50, 30)); // scrolled 5 points down
    msg(holder, "setClipsToBounds:", c.parentClips);
    id tall = makeView("UIView", CGRectMake(0, 5, c.size.width, c.size.height));
    msg(tall, "setHidden:", c.hidden);
    msg(tall, "setAlpha:", c.alpha);
    msg(holder, "addSubview:", tall);
    msg(root, "addSubview:", holder);
    const CGRect drawn = UISnapshotDrawnRect(root);
    EXPECT_EQ(drawn.origin, CGPointMake(0, 0));
    EXPECT_EQ(drawn.size.width, 100);
    EXPECT_EQ(CGRectGetMaxY(drawn), c.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SnapshotDrawnRect,
    ::testing::Values(
        DrawnCase{"RunsPast", false, 1, false, {20, 200}, 260}, // 60 + 200, less the 5 scrolled, plus 5
        DrawnCase{"Hidden", true, 1, false, {20, 200}, 100},
        DrawnCase{"Transparent", false, 0, false, {20, 200}, 100},
        DrawnCase{"Clipped", false, 1, true, {20, 200}, 100},
        DrawnCase{"NoSize", false, 1, false, {0, 200}, 100},
        DrawnCase{"Inside", false, 1, false, {20, 10}, 100}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
