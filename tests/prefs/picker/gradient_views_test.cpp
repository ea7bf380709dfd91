// The six gradient views, drawn into a bitmap and checked pixel by pixel against the painting
// rule computed here: each view's layers written out, interpolated straight (not premultiplied)
// between evenly spaced stops and composited source-over, with an HSB conversion of our own.
#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"
#include "uikit/UIView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using Rgba = std::array<double, 4>;

// HSB to RGB by the closed form v - v s max(0, min(k, 4 - k, 1)), k = (n + 6h) mod 6.
Rgba hsb(double h, double s, double v) {
    auto channel = [&](double n) {
        const double k = std::fmod(n + 6 * h, 6.0);
        return v - v * s * std::max(0.0, std::min({k, 4 - k, 1.0}));
    };
    return {channel(5), channel(3), channel(1), 1};
}

struct Components {
    double hue = 0, saturation = 0, brightness = 0;
};

struct Layer {
    std::vector<Rgba> stops;
    CGPoint start, end;
};

// The painting rule at the point p, over transparent black.
Rgba paint(const std::vector<Layer>& layers, CGPoint p) {
    Rgba out{0, 0, 0, 0};
    for (const Layer& layer : layers) {
        const double dx = layer.end.x - layer.start.x, dy = layer.end.y - layer.start.y;
        const double s = ((p.x - layer.start.x) * dx + (p.y - layer.start.y) * dy) / (dx * dx + dy * dy);
        if (s < 0 || s > 1)
            continue;
        const double pos = s * double(layer.stops.size() - 1);
        const size_t i = std::min(size_t(pos), layer.stops.size() - 2);
        const double f = pos - double(i);
        Rgba c;
        for (int k = 0; k < 4; ++k)
            c[k] = layer.stops[i][k] * (1 - f) + layer.stops[i + 1][k] * f;
        const double a = c[3] + out[3] * (1 - c[3]);
        for (int k = 0; k < 3; ++k)
            out[k] = a == 0 ? 0 : (c[k] * c[3] + out[k] * out[3] * (1 - c[3])) / a;
        out[3] = a;
    }
    return out;
}

const Rgba kRed{1, 0, 0, 1}, kYellow{1, 1, 0, 1}, kGreen{0, 1, 0, 1}, kCyan{0, 1, 1, 1}, kBlue{0, 0, 1, 1},
    kMagenta{1, 0, 1, 1};

// A view's layers for a frame of W x H and its components.
using Picture = std::function<std::vector<Layer>(double w, double h, const Components&)>;

struct ViewCase {
    const char* className;
    const char* redrawSetter; // null for the hue bar, which keeps nothing
    std::vector<const char*> properties;
    Picture picture;
};

const std::vector<ViewCase>& viewCases() {
    static const std::vector<ViewCase> cases = {
        {"HMHueSaturationView",
         "setHue:andSaturation:andBrightness:",
         {"hue", "saturation", "brightness"},
         [](double w, double h, const Components& c) {
             const double dark = 1 - c.brightness;
             return std::vector<Layer>{
                 {{kRed, kMagenta, kBlue, kCyan, kGreen, kYellow, kRed}, {w, 0}, {0, 0}},
                 {{{0, 0, 0, 0}, {1, 1, 1, 1}}, {0, 0}, {0, h}},
                 {{{0, 0, 0, dark}, {0, 0, 0, dark}}, {0, 0}, {0, h}}};
         }},
        {"HMBrightnessSliderView",
         "setHue:andSaturation:",
         {"hue", "saturation"},
         [](double w, double, const Components& c) {
             return std::vector<Layer>{{{hsb(c.hue, c.saturation, 1), hsb(0, 0, 0)}, {0, 0}, {w, 0}}};
         }},
        {"HMBrightnessSaturationView",
         "setHue:",
         {"hue"},
         [](double w, double h, const Components& c) {
             return std::vector<Layer>{{{hsb(c.hue, 1, 1), {1, 1, 1, 1}}, {w, 0}, {0, 0}},
                                       {{{0, 0, 0, 0}, {0, 0, 0, 1}}, {0, 0}, {0, h}}};
         }},
        {"HMHueSliderView",
         nullptr,
         {},
         [](double w, double, const Components&) {
             return std::vector<Layer>{
                 {{kRed, kYellow, kGreen, kCyan, kBlue, kMagenta, kRed}, {0, 0}, {w, 0}}};
         }},
        {"HMHueBrightnessView",
         "setHue:andSaturation:andBrightness:",
         {"hue", "saturation", "brightness"},
         [](double w, double h, const Components& c) {
             const double gray = 1 - c.saturation;
             return std::vector<Layer>{
                 {{kRed, kMagenta, kBlue, kCyan, kGreen, kYellow, kRed}, {w, 0}, {0, 0}},
                 {{{0, 0, 0, 0}, {0, 0, 0, 1}}, {0, 0}, {0, h}},
                 {{{1, 1, 1, gray}, {0, 0, 0, gray}}, {0, 0}, {0, h}}};
         }},
        {"HMSaturationSliderView",
         "setHue:andBrightness:",
         {"hue", "brightness"},
         [](double w, double, const Components& c) {
             return std::vector<Layer>{
                 {{hsb(c.hue, 1, c.brightness), hsb(0, 0, c.brightness)}, {0, 0}, {w, 0}}};
         }},
    };
    return cases;
}

id newView(const char* className) {
    return msg<id>(msg<id>(classObject(objc_getClass(className)), "alloc"), "init");
}

// Stores the components a view keeps through its redraw-triggering setter.
void store(const id& view, const ViewCase& vc, const Components& c) {
    const std::string setter = vc.redrawSetter ? vc.redrawSetter : "";
    if (setter == "setHue:andSaturation:andBrightness:")
        msg(view, setter, c.hue, c.saturation, c.brightness);
    else if (setter == "setHue:andSaturation:")
        msg(view, setter, c.hue, c.saturation);
    else if (setter == "setHue:andBrightness:")
        msg(view, setter, c.hue, c.brightness);
    else if (setter == "setHue:")
        msg(view, setter, c.hue);
}

// The view drawn into a fresh bitmap of its frame's size times `scale`, as the platform's
// drawing pass does: the context current, scaled to points, drawRect: with the bounds.
struct Drawing {
    std::vector<uint8_t> pixels;
    size_t width = 0, height = 0;
    std::array<int, 4> at(size_t x, size_t y) const {
        const uint8_t* p = &pixels[(y * width + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }
};

Drawing draw(const id& view, double scale = 1) {
    const CGRect frame = msg<CGRect>(view, "frame");
    Drawing d;
    d.width = static_cast<size_t>(std::lround(frame.size.width * scale));
    d.height = static_cast<size_t>(std::lround(frame.size.height * scale));
    CGContextRef context = CGBitmapContextCreate(d.width, d.height);
    CGContextScaleCTM(context, scale, scale);
    UIGraphicsPushContext(context);
    msg(view, "drawRect:", CGRectMake(0, 0, frame.size.width, frame.size.height));
    UIGraphicsPopContext();
    const uint8_t* data = CGBitmapContextGetData(context);
    const size_t rowBytes = CGBitmapContextGetBytesPerRow(context);
    d.pixels.resize(d.width * d.height * 4);
    for (size_t y = 0; y < d.height; ++y)
        std::memcpy(&d.pixels[y * d.width * 4], data + y * rowBytes, d.width * 4);
    CGContextRelease(context);
    return d;
}

// Every layer rounds to 8 bits, so a picture of three layers may be off by a level or two.
constexpr int kTolerance = 2;

void expectPicture(const ViewCase& vc, const Components& c, double w, double h, const std::string& what) {
    id view = newView(vc.className);
    msg(view, "setFrame:", CGRectMake(0, 0, w, h));
    store(view, vc, c);
    const Drawing d = draw(view);
    int failures = 0;
    for (size_t y = 0; y < d.height; y += 3) {
        for (size_t x = 0; x < d.width; x += 3) {
            const Rgba want = paint(vc.picture(w, h, c), {x + 0.5, y + 0.5});
            const auto got = d.at(x, y);
            ASSERT_EQ(got[3], 255) << "not opaque at " << x << "," << y;
            for (int i = 0; i < 3; ++i) {
                if (std::abs(got[i] - std::lround(want[i] * 255)) > kTolerance && failures++ < 5) {
                    ADD_FAILURE() << vc.className << " " << what << " channel " << i << " at (" << x << ", "
                                  << y << "): got " << got[i] << ", want " << want[i] * 255;
                }
            }
        }
    }
}

TEST(GradientViews, PaintTheirLayersByThePaintingRuleAtEveryComponentEdge) {
    const struct {
        const char* what;
        Components c;
    } settings[] = {
        {"middle", {0.3, 0.6, 0.7}},
        {"brightness 0 (black where brightness is kept)", {0.55, 0.8, 0}},
        {"brightness 1 (no darkening)", {0.9, 0.4, 1}},
        {"saturation 0 (gray ramps)", {0.7, 0, 0.5}},
        {"saturation 1 (no gray overlay)", {0.15, 1, 0.5}},
        {"hue 1 (red, like 0)", {1, 1, 1}},
    };
    for (const ViewCase& vc : viewCases()) {
        for (const auto& s : settings)
            expectPicture(vc, s.c, 61, 43, s.what);
    }
}

TEST(GradientViews, EdgeCasesShowTheirPlainPictures) {
    auto view = [](const char* name, double w, double h) {
        id v = newView(name);
        msg(v, "setFrame:", CGRectMake(0, 0, w, h));
        return v;
    };
    // Hue-saturation square at brightness 0: solid black.
    id hs = view("HMHueSaturationView", 30, 20);
    msg(hs, "setHue:andSaturation:andBrightness:", 0.4, 0.4, 0.0);
    Drawing d = draw(hs);
    for (size_t y = 0; y < d.height; ++y) {
        for (size_t x = 0; x < d.width; ++x)
            ASSERT_EQ(d.at(x, y), (std::array<int, 4>{0, 0, 0, 255})) << x << "," << y;
    }
    // Hue-brightness square at saturation 0: one gray per row, white-ish at the top.
    id hb = view("HMHueBrightnessView", 30, 20);
    msg(hb, "setHue:andSaturation:andBrightness:", 0.4, 0.0, 1.0);
    d = draw(hb);
    for (size_t y = 0; y < d.height; ++y) {
        const auto first = d.at(0, y);
        EXPECT_NEAR(first[0], first[1], 1);
        EXPECT_NEAR(first[1], first[2], 1);
        for (size_t x = 1; x < d.width; ++x)
            EXPECT_NEAR(d.at(x, y)[0], first[0], 1) << x << "," << y;
    }
    EXPECT_GT(d.at(0, 0)[0], 240);
    EXPECT_LT(d.at(0, d.height - 1)[0], 15);
    // Brightness bar at saturation 0: the same white-to-black ramp whatever the hue.
    id b1 = view("HMBrightnessSliderView", 30, 10);
    id b2 = view("HMBrightnessSliderView", 30, 10);
    msg(b1, "setHue:andSaturation:", 0.1, 0.0);
    msg(b2, "setHue:andSaturation:", 0.8, 0.0);
    EXPECT_EQ(draw(b1).pixels, draw(b2).pixels);
    // Saturation bar at brightness 0: solid black.
    id sb = view("HMSaturationSliderView", 30, 10);
    msg(sb, "setHue:andBrightness:", 0.6, 0.0);
    d = draw(sb);
    for (size_t x = 0; x < d.width; ++x)
        EXPECT_EQ(d.at(x, 5), (std::array<int, 4>{0, 0, 0, 255}));
}

TEST(GradientViews, OnlyTheFrameSizeCountsNotItsOrigin) {
    for (const ViewCase& vc : viewCases()) {
        id here = newView(vc.className);
        id there = newView(vc.className);
        msg(here, "setFrame:", CGRectMake(0, 0, 40, 30));
        msg(there, "setFrame:", CGRectMake(37, 55, 40, 30));
        store(here, vc, {0.25, 0.5, 0.75});
        store(there, vc, {0.25, 0.5, 0.75});
        EXPECT_EQ(draw(here).pixels, draw(there).pixels) << vc.className;
        // Resized, the picture stretches: the right edge of a 40-wide view is not at x 20.
        msg(there, "setFrame:", CGRectMake(37, 55, 20, 30));
        EXPECT_EQ(draw(there).width, 20u);
    }
}

TEST(GradientViews, DrawsAtTheContextScale) {
    id view = newView("HMHueSliderView");
    msg(view, "setFrame:", CGRectMake(0, 0, 50, 10));
    const Drawing d = draw(view, 3);
    ASSERT_EQ(d.width, 150u);
    for (size_t x = 0; x < d.width; x += 7) {
        const Rgba want = hsb((x + 0.5) / 150.0, 1, 1);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(d.at(x, 20)[i], want[i] * 255, kTolerance) << x;
    }
}

long redraws(const id& view) {
    return std::static_pointer_cast<UIView>(view)->needsDisplayCount();
}

TEST(GradientViews, RedrawSettersStoreAsGivenAndAskForOneRedrawPlainSettersDoNot) {
    for (const ViewCase& vc : viewCases()) {
        id view = newView(vc.className);
        for (const char* property : vc.properties)
            EXPECT_EQ(msg<double>(view, property), 0.0) << vc.className;
        if (vc.redrawSetter) {
            const long before = redraws(view);
            store(view, vc, {1.7, -0.2, 2.5}); // out of range on purpose: no clamping
            EXPECT_EQ(redraws(view), before + 1) << vc.className;
            const std::map<std::string, double> stored{
                {"hue", 1.7}, {"saturation", -0.2}, {"brightness", 2.5}};
            for (const char* property : vc.properties)
                EXPECT_EQ(msg<double>(view, property), stored.at(property));
        }
        for (const char* property : vc.properties) {
            std::string setter = std::string("set") + property + ":";
            setter[3] = static_cast<char>(std::toupper(static_cast<unsigned char>(setter[3])));
            const long before = redraws(view);
            msg(view, setter, 0.125);
            EXPECT_EQ(msg<double>(view, property), 0.125) << vc.className << " " << property;
            // Only the saturation-brightness square's hue setter redraws: it is the view's one
            // redraw-triggering setter.
            const bool redrawing =
                setter == std::string("setHue:") && vc.redrawSetter == std::string("setHue:");
            EXPECT_EQ(redraws(view), before + (redrawing ? 1 : 0)) << vc.className << " " << setter;
            // The property is backed by an instance variable "_name".
            EXPECT_EQ(
                object_getIvar<double>(view.get(), class_getInstanceVariable(objc_getClass(vc.className),
                                                                             std::string("_") + property)),
                0.125);
        }
    }
}

} // namespace
