// The root page's rows as they are written and painted: each row's key, "Button Color" in the
// stored color, the icon row without libstatusbar, and a picture of the whole page.
#include "HushmarkPaneFixture.h"
#include "uikit/UISnapshot.h"

namespace {

TEST_F(HushmarkPane, RowsWriteTheirKeysAsGiven) {
    open();
    ASSERT_TRUE(app.typeText("Minutes to Disarm", "25"));
    ASSERT_TRUE(app.pickSegment("Color Picker Slider", 1));
    ASSERT_TRUE(app.setSwitch("Color Picker Above Sliders", false));
    ASSERT_TRUE(app.typeText("Button Text:", "Quiet"));
    const PlistDict s = settings();
    EXPECT_EQ(s.at("disableForMinutes"), PlistValue("25"));
    EXPECT_EQ(s.at("colorPickerType"), PlistValue(1));
    EXPECT_EQ(s.at("preferColorPicker"), PlistValue(false));
    EXPECT_EQ(s.at("buttonText"), PlistValue("Quiet"));
    EXPECT_EQ(delivered(), 4);
}

struct ListPaintCase {
    PlistValue stored; // none: absent
    CGFloat red, green, blue;
    bool whiteText;
};

TEST_F(HushmarkPane, TheButtonColorRowIsPaintedInTheStoredColor) {
    const ListPaintCase cases[] = {
        {PlistValue("#FF0000"), 1, 0, 0, true},
        {PlistValue("FF0000"), 1, 0, 0, true},
        {PlistValue("00FF00"), 0, 1, 0, false},
        {PlistValue("FFFFFF"), 1, 1, 1, false},
        {PlistValue("000000"), 0, 0, 0, true},
        {PlistValue("no digits"), 1, 1, 1, false},
        {PlistValue("1FFFFFF"), 1, 1, 1, false},
        {PlistValue(), 1, 1, 1, false},
        {PlistValue("##ff0000"), 1, 0, 0, true},
        {PlistValue(" FF0000"), 1, 1, 1, false},
        {PlistValue("0x0000ff"), 0, 0, 1, true},
        {PlistValue(0xFF0000), 1, 1, 1, false},
        // The black-or-white threshold: darkness 0.4980 takes black, 0.5020 white.
        {PlistValue("808080"), 128 / 255.0, 128 / 255.0, 128 / 255.0, false},
        {PlistValue("7F7F7F"), 127 / 255.0, 127 / 255.0, 127 / 255.0, true},
    };
    open();
    for (const ListPaintCase& c : cases) {
        PlistDict stored = seeded();
        if (c.stored.isNone())
            stored.erase("buttonColor");
        else
            stored["buttonColor"] = c.stored;
        store(stored);
        msg(app.currentController(), "viewWillAppear:", false);
        CGFloat r = -1, g = -1, b = -1, a = -1;
        ASSERT_TRUE(
            msg<bool>(app.rowBackgroundColor("Button Color"), "getRed:green:blue:alpha:", &r, &g, &b, &a));
        const std::string name = c.stored.isNone()     ? "absent"
                                 : c.stored.isString() ? c.stored.asString()
                                                       : "a number";
        EXPECT_NEAR(r, c.red, 1e-9) << name;
        EXPECT_NEAR(g, c.green, 1e-9) << name;
        EXPECT_NEAR(b, c.blue, 1e-9) << name;
        EXPECT_EQ(a, 1.0) << name;
        id text = msg<id>(msg<id>(app.cellForRow("Button Color"), "textLabel"), "textColor");
        CGFloat white = -1, alpha = -1;
        ASSERT_TRUE(msg<bool>(text, "getWhite:alpha:", &white, &alpha));
        EXPECT_EQ(white, c.whiteText ? 1.0 : 0.0) << name;
    }
    // Other rows keep the table's white.
    CGFloat r = 0, g = 0, b = 0, a = 0;
    msg<bool>(app.rowBackgroundColor("Button Text:"), "getRed:green:blue:alpha:", &r, &g, &b, &a);
    EXPECT_EQ(r + g + b, 3.0);
}

TEST_F(HushmarkPane, TheIconRowNeedsLibstatusbar) {
    open();
    EXPECT_FALSE(app.rowEnabled("Status Bar Icon"));
    EXPECT_FALSE(app.setSwitch("Status Bar Icon", false));
    touch("/Library/MobileSubstrate/DynamicLibraries/libstatusbar.dylib");
    SettingsApp withLibstatusbar;
    id bundle = msg<id>(classObject(objc_getClass("NSBundle")),
                        "bundleWithPath:", "/Library/PreferenceBundles/Hushmark.bundle");
    withLibstatusbar.openController(objc_getClass("HushmarkListController"), bundle);
    EXPECT_TRUE(withLibstatusbar.rowEnabled("Status Bar Icon"));
    EXPECT_TRUE(withLibstatusbar.setSwitch("Status Bar Icon", false));
    EXPECT_EQ(settings().at("enableIcon"), PlistValue(false));
}

TEST_F(HushmarkPane, SnapshotOfTheRootPage) {
    store(seeded({{"enabled", true}, {"disableForMinutes", 30}}));
    open();
    app.tapRow("Disarm Now");
    const char* out = std::getenv("HM_SNAPSHOT_DIR");
    const auto png = (out ? std::filesystem::path(out) : root.root()) / "settings-root.png";
    ASSERT_TRUE(app.snapshot(png.string()));
    EXPECT_GT(std::filesystem::file_size(png), 1000u);

    // What the picture shows, found through the rows' own frames (2 pixels a point).
    const id page = app.pageView();
    const SnapshotImage image = UISnapshotRenderView(page, 2.0);
    auto rowRect = [&](const std::string& label) {
        const id cell = app.cellForRow(label);
        return msg<CGRect>(cell, "convertRect:toView:", msg<CGRect>(cell, "bounds"), page);
    };
    auto pixel = [&](CGRect r, double fx, double fy) {
        return image.at(size_t((r.origin.x + r.size.width * fx) * 2),
                        size_t((r.origin.y + r.size.height * fy) * 2));
    };
    auto darkPixels = [&](CGRect r) {
        int dark = 0;
        for (size_t y = size_t(r.origin.y * 2); y < size_t(CGRectGetMaxY(r) * 2); ++y)
            for (size_t x = size_t(r.origin.x * 2); x < size_t(CGRectGetMaxX(r) * 2); ++x)
                if (image.at(x, y).r < 100)
                    ++dark;
        return dark;
    };
    const CGRect color = rowRect("Button Color");
    const auto red = pixel(color, 0.6, 0.5); // right of the white title, in the row's paint
    EXPECT_EQ(std::make_tuple(red.r, red.g, red.b), std::make_tuple(255, 0, 0));
    const CGRect text = rowRect("Button Text:");
    const auto white = pixel(text, 0.01, 0.5);
    EXPECT_EQ(std::make_tuple(white.r, white.g, white.b), std::make_tuple(255, 255, 255));
    // The status row's deadline is written in dark text; the empty left margin of a row is not.
    EXPECT_GT(darkPixels(rowRect(disarmedText(kTen + 1800))), 100);
    EXPECT_EQ(darkPixels(CGRectMake(text.origin.x, text.origin.y + 4, 10, text.size.height - 8)), 0);
}

} // namespace
