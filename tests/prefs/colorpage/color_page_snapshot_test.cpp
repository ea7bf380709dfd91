// Pictures of the color page with each picker layout in both arrangements, written as PNG files
// for a person to look at (build/…/snapshots/colorpage-<layout>-<arrangement>.png), with the
// pixels that show the cell's own work checked here.
#include "ColorPageDevice.h"

#include "uikit/UILabel.h"
#include "uikit/UISnapshot.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

struct SnapshotCase {
    const char* name;
    int pickerType;
    bool pickerAbove;
    const char* pickerIvar;
};
class ColorPageSnapshot : public ::testing::TestWithParam<SnapshotCase> {};

TEST_P(ColorPageSnapshot, ShowsTheSampleInTheStoredColorAndThePickerWhereItBelongs) {
    const SnapshotCase c = GetParam();
    ColorPageDevice device({{"buttonColor", "#3366CC"},
                            {"colorPickerType", c.pickerType},
                            {"preferColorPicker", c.pickerAbove}});
    const id cell = device.openColorPage();
    ASSERT_TRUE(cell);
    const id picker = ivarOf(cell, c.pickerIvar);
    ASSERT_TRUE(picker);

    const id page = device.settings.pageView();
    const SnapshotImage image = UISnapshotRenderView(page, 2.0);
    std::filesystem::create_directories(HM_SNAPSHOT_DIR);
    const std::string file = std::string(HM_SNAPSHOT_DIR) + "/colorpage-" + c.name + ".png";
    ASSERT_TRUE(UISnapshotWriteView(page, file, 2.0)) << file;

    // The sample, away from its text: the stored color, opaque.
    const id sample = ivarOf(cell, "buttonColorField");
    const CGPoint p = outerPoint(sample, {8, 19});
    const auto px = image.at(static_cast<size_t>(p.x * 2), static_cast<size_t>(p.y * 2));
    EXPECT_EQ(px.r, 0x33);
    EXPECT_EQ(px.g, 0x66);
    EXPECT_EQ(px.b, 0xCC);
    // The picker spans the page's width at its arrangement's top.
    const CGRect f = msg<CGRect>(picker, "frame");
    EXPECT_EQ(f.origin.y, c.pickerAbove ? 90 : 285);
    EXPECT_EQ(f.size.height, 380);
    // Its square is drawn: the middle of it is neither the page's white nor transparent.
    const CGPoint mid = outerPoint(picker, {f.size.width / 2, 150});
    const auto m = image.at(static_cast<size_t>(mid.x * 2), static_cast<size_t>(mid.y * 2));
    EXPECT_EQ(m.a, 255);
    EXPECT_FALSE(m.r == 255 && m.g == 255 && m.b == 255) << c.name;
}

// Every label shown on the page (picker values and titles, the cell's captions and help, the
// navigation bar) holds its whole text at its real size, with the color of the widest values.
void collectShownLabels(const id& view, std::vector<Ref<UILabel>>& out) {
    if (msg<bool>(view, "isHidden"))
        return;
    if (auto label = cast<UILabel>(view); label && !label->text().empty())
        out.push_back(label);
    for (const id& sub : msg<std::vector<id>>(view, "subviews"))
        collectShownLabels(sub, out);
}

TEST_P(ColorPageSnapshot, NoLabelIsCut) {
    const SnapshotCase c = GetParam();
    // Hue 300°, saturation and brightness 100%.
    ColorPageDevice device({{"buttonColor", "#FF00FF"},
                            {"colorPickerType", c.pickerType},
                            {"preferColorPicker", c.pickerAbove}});
    ASSERT_TRUE(device.openColorPage());
    const id page = device.settings.pageView();
    msg(page, "layoutIfNeeded");
    std::vector<Ref<UILabel>> labels;
    collectShownLabels(page, labels);
    ASSERT_GT(labels.size(), 10u);
    bool sawBack = false, sawFullValue = false;
    for (const auto& label : labels) {
        const std::vector<std::string> lines = label->shownLines();
        ASSERT_FALSE(lines.empty()) << label->text();
        for (const std::string& line : lines)
            EXPECT_FALSE(line.size() >= 3 && line.substr(line.size() - 3) == "\xE2\x80\xA6")
                << line << " of " << label->text();
        sawBack = sawBack || label->text() == "\xE2\x80\xB9 Hushmark";
        sawFullValue = sawFullValue || label->text().find("100%") != std::string::npos;
    }
    EXPECT_TRUE(sawBack);
    EXPECT_TRUE(sawFullValue);
}

INSTANTIATE_TEST_SUITE_P(Layouts, ColorPageSnapshot,
                         ::testing::Values(SnapshotCase{"H-above", 0, true, "colorPickerView_H"},
                                           SnapshotCase{"H-below", 0, false, "colorPickerView_H"},
                                           SnapshotCase{"S-above", 1, true, "colorPickerView_S"},
                                           SnapshotCase{"S-below", 1, false, "colorPickerView_S"},
                                           SnapshotCase{"B-above", 2, true, "colorPickerView_B"},
                                           SnapshotCase{"B-below", 2, false, "colorPickerView_B"}),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             n.erase(n.find('-'), 1);
                             return n;
                         });

} // namespace
