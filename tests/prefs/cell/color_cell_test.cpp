// The color cell as the host makes it: construction, the initial color and the picker choice.
#include "ColorCellFixture.h"

#include <array>

namespace {

struct Rgba {
    double r, g, b, a;
};
Rgba rgbaOf(const id& color) {
    Rgba c{-1, -1, -1, -1};
    msg<bool>(color, "getRed:green:blue:alpha:", &c.r, &c.g, &c.b, &c.a);
    return c;
}
bool isWhite(const id& color) {
    const Rgba c = rgbaOf(color);
    return c.r == 1 && c.g == 1 && c.b == 1 && c.a == 1;
}
bool isBlack(const id& color) {
    const Rgba c = rgbaOf(color);
    return c.r == 0 && c.g == 0 && c.b == 0 && c.a == 1;
}
CGRect frameOf(const id& view) {
    return msg<CGRect>(view, "frame");
}

TEST_F(ColorCellTest, BuildsEveryViewInRowOrderWithThePickerAboveByDefault) {
    writeSettings({{"buttonColor", "#ff8000"}});
    const auto cell = makeCell(colorSpecifier());
    ASSERT_TRUE(cell);
    const double w = frameOf(cell).size.width;

    const std::vector<id> views = msg<std::vector<id>>(msg<id>(cell, "contentView"), "subviews");
    const std::vector<id> ours(views.end() - 17, views.end()); // the base cell may keep its own label first
    EXPECT_EQ(ours[0], cell->hexColorField);
    EXPECT_EQ(ours[1], cell->buttonColorField);
    EXPECT_EQ(ours[2], cell->titleR);
    EXPECT_EQ(ours[4], cell->titleB);
    EXPECT_EQ(ours[8], cell->sliderR);
    EXPECT_EQ(ours[11], cell->valueR);
    EXPECT_EQ(ours[13], cell->valueB);
    EXPECT_EQ(ours[15], cell->colorPickerView_H);
    EXPECT_EQ(frameOf(ours[14]), frameOf(cell->hexColorField)); // the hex button lies over the field
    EXPECT_EQ(frameOf(ours[5]), frameOf(cell->valueR));         // each value button under its label
    EXPECT_EQ(msg<std::string>(ours[16], "text").size(), 289u); // the help text, added last

    EXPECT_EQ(frameOf(cell->colorPickerView_H), (CGRect{{0, 90}, {w, 380}}));
    EXPECT_EQ(frameOf(cell->sliderR), (CGRect{{15, 508}, {w - 30, 40}}));
    EXPECT_EQ(frameOf(cell->valueB), (CGRect{{w - 75, 619}, {60, 30}}));
    EXPECT_EQ(frameOf(ours[16]).origin, (CGPoint{15, 685}));
    EXPECT_EQ(frameOf(cell->buttonColorField), (CGRect{{15, 41}, {std::round(w - 34), 38}}));
    EXPECT_EQ(msg<NSUInteger>(cell->sliderG, "autoresizingMask"), 7u);
    EXPECT_EQ(msg<NSUInteger>(cell->valueG, "autoresizingMask"), 5u);
    EXPECT_TRUE(isWhite(msg<id>(cell, "backgroundColor")));
}

TEST_F(ColorCellTest, PreferColorPickerNoPutsTheRowsFirst) {
    writeSettings({{"buttonColor", "#ff8000"}});
    const auto cell = makeCell(colorSpecifier(PlistValue(false)));
    const double w = frameOf(cell).size.width;
    EXPECT_EQ(frameOf(cell->colorPickerView_H), (CGRect{{0, 285}, {w, 380}}));
    EXPECT_EQ(frameOf(cell->titleR), (CGRect{{15, 90}, {w - 120, 20}}));
    EXPECT_EQ(frameOf(cell->valueR).origin.y, 83);
    EXPECT_EQ(frameOf(cell->sliderB), (CGRect{{15, 244}, {w - 30, 40}}));
}

TEST_F(ColorCellTest, StoredOrangeFillsEveryView) {
    writeSettings({{"buttonColor", "#ff8000"}});
    const auto cell = makeCell(colorSpecifier());
    EXPECT_EQ(textOf(cell->hexColorField), "#FF8000");
    EXPECT_EQ(valueOf(cell->sliderR), 255);
    EXPECT_EQ(valueOf(cell->sliderG), 128);
    EXPECT_EQ(valueOf(cell->sliderB), 0);
    EXPECT_EQ(textOf(cell->valueR), "255");
    EXPECT_EQ(textOf(cell->valueG), "128");
    EXPECT_EQ(textOf(cell->valueB), "0");
    const Rgba sample = rgbaOf(msg<id>(cell->buttonColorField, "backgroundColor"));
    EXPECT_DOUBLE_EQ(sample.r, 1.0);
    EXPECT_DOUBLE_EQ(sample.g, 128 / 255.0);
    EXPECT_DOUBLE_EQ(sample.b, 0.0);
    EXPECT_DOUBLE_EQ(sample.a, 1.0);
    EXPECT_TRUE(isBlack(msg<id>(cell->buttonColorField, "textColor")));
    // The picker starts at the same color, opaque.
    const Rgba picked = rgbaOf(msg<id>(cell->colorPickerView_H, "color"));
    EXPECT_DOUBLE_EQ(picked.g, 128 / 255.0);
    EXPECT_DOUBLE_EQ(picked.a, 1.0);
}

TEST_F(ColorCellTest, HalfOpacityFromTheFileTintsTheSampleAndTurnsItsTextBlack) {
    writeSettings({{"buttonColor", "#FF0000"}, {"buttonAlphaLevel", 50}});
    const auto cell = makeCell(colorSpecifier());
    EXPECT_EQ(cell->buttonAlphaLevel, 0.5f);
    EXPECT_DOUBLE_EQ(rgbaOf(msg<id>(cell->buttonColorField, "backgroundColor")).a, 0.5);
    EXPECT_TRUE(isBlack(msg<id>(cell->buttonColorField, "textColor")));
    EXPECT_DOUBLE_EQ(rgbaOf(msg<id>(cell->colorPickerView_H, "color")).a, 1.0); // the picker stays opaque
}

TEST_F(ColorCellTest, WithoutFileOrDomainTheDefaultIsShown) {
    const auto noFile = makeCell(colorSpecifier());
    EXPECT_EQ(textOf(noFile->hexColorField), "#FF0000");
    EXPECT_TRUE(isWhite(msg<id>(noFile->buttonColorField, "textColor")));

    writeSettings({{"buttonColor", "#00FF00"}, {"colorPickerType", 2}});
    id row = colorSpecifier();
    msg(row, "removePropertyForKey:", std::string("defaults"));
    const auto noDomain = makeCell(row);
    EXPECT_EQ(textOf(noDomain->hexColorField), "#FF0000");
    EXPECT_TRUE(noDomain->colorPickerView_H); // the file's picker type is not read either
}

TEST_F(ColorCellTest, ValueLabelsShowParsedChannelsWhereTheSlidersClamp) {
    writeSettings({{"buttonColor", "#ff8000"}});
    id row = colorSpecifier();
    set(row, "max", 100);
    const auto cell = makeCell(row);
    EXPECT_EQ(valueOf(cell->sliderR), 100);
    EXPECT_EQ(textOf(cell->valueR), "255");
}

struct PickerCase {
    std::optional<int> type;
    const char* className;
};
class ColorCellPickerChoice : public ColorCellTest, public ::testing::WithParamInterface<PickerCase> {};

TEST_P(ColorCellPickerChoice, FileTypeSelectsTheLayout) {
    PlistDict file{{"buttonColor", "#123456"}};
    if (GetParam().type)
        file["colorPickerType"] = *GetParam().type;
    writeSettings(file);
    const auto cell = makeCell(colorSpecifier());
    const std::array<id, 3> pickers{cell->colorPickerView_H, cell->colorPickerView_S,
                                    cell->colorPickerView_B};
    int made = 0;
    for (const id& p : pickers)
        made += p ? 1 : 0;
    EXPECT_EQ(made, 1);
    ASSERT_TRUE(cell->chosenPicker());
    EXPECT_STREQ(class_getName(object_getClass(cell->chosenPicker().get())), GetParam().className);
}

INSTANTIATE_TEST_SUITE_P(
    Types, ColorCellPickerChoice,
    ::testing::Values(PickerCase{2, "HMColorPickerView_B"}, PickerCase{1, "HMColorPickerView_S"},
                      PickerCase{0, "HMColorPickerView_H"}, PickerCase{3, "HMColorPickerView_H"},
                      PickerCase{-1, "HMColorPickerView_H"}, PickerCase{std::nullopt, "HMColorPickerView_H"}),
    [](const auto& info) {
        return info.param.type ? "type" + std::to_string(info.index) : std::string("absent");
    });

TEST_F(ColorCellTest, CellAndPickerDoNotKeepEachOtherAlive) {
    writeSettings({{"buttonColor", "#123456"}});
    auto cell = makeCell(colorSpecifier());
    weak_id weakCell = cell;
    id picker = cell->chosenPicker();
    const auto changed = msg<std::function<void(id)>>(picker, "colorsHaveChangedBlock");
    const auto save = msg<std::function<void(id)>>(picker, "saveChangesBlock");
    cell.reset();
    EXPECT_TRUE(weakCell.expired());
    // The picker outlives the cell: its callbacks then do nothing.
    ASSERT_TRUE(changed && save);
    changed(msg<id>(classObject(objc_getClass("UIColor")), "redColor"));
    save(id{});
    EXPECT_EQ(posts(), 0);
    EXPECT_EQ(settings()->at("buttonColor"), PlistValue("#123456"));
}

} // namespace
