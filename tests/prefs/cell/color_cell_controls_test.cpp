// The color cell's controls as a finger works them, in a window: the sliders' value-changed
// and release wiring, the channel and hex buttons, and which edits push the color to the picker.
#include "ColorCellFixture.h"

#include "uikit/UIAlertView.h"
#include "uikit/UIWindow.h"

namespace {

constexpr double kRowHeight = 860; // the color page's row

// The cell at the size its row gives it, in a window of its own, as the page shows it.
struct CellInWindow {
    Ref<HMColorCell> cell;
    Ref<UIWindow> window;

    explicit CellInWindow(Ref<HMColorCell> c) : cell(std::move(c)) {
        const double width = msg<CGRect>(cell, "frame").size.width;
        const CGRect frame{{0, 0}, {width, kRowHeight}};
        window = std::dynamic_pointer_cast<UIWindow>(
            msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"), "initWithFrame:", frame));
        msg(cell, "setFrame:", frame);
        msg(window, "addSubview:", cell);
        window->makeKeyAndVisible();
    }
    // A point of a view, given as fractions of its size, in the window.
    CGPoint at(const id& view, double fx, double fy) const {
        const CGRect f = msg<CGRect>(view, "frame");
        return msg<CGPoint>(view, "convertPoint:toView:", CGPoint{f.size.width * fx, f.size.height * fy},
                            id(window));
    }
    CGPoint center(const id& view) const { return at(view, 0.5, 0.5); }
};

std::vector<Ref<UIAlertView>> shown() {
    return UIAlertView::shownAlerts();
}

TEST_F(ColorCellTest, ASliderDragRepaintsAsItMovesAndSavesWhenReleasedInsideOrOutside) {
    writeSettings({{"buttonColor", "#000000"}});
    CellInWindow on(makeCell(colorSpecifier()));
    const auto& cell = on.cell;

    ASSERT_TRUE(on.window->touchDown(on.at(cell->sliderR, 0.5, 0.5)));
    const std::string label = textOf(cell->valueR);
    EXPECT_NE(label, "0"); // value changed: the label follows the thumb
    on.window->touchMove(on.at(cell->sliderR, 0.99, 0.5));
    EXPECT_EQ(textOf(cell->valueR), "255");
    EXPECT_EQ(textOf(cell->hexColorField), "#FF0000");
    EXPECT_EQ(posts(), 0); // moving alone saves nothing
    EXPECT_EQ(settings()->at("buttonColor"), PlistValue("#000000"));
    on.window->touchUp(on.at(cell->sliderR, 0.99, 0.5)); // released inside
    EXPECT_EQ(settings()->at("buttonColor"), PlistValue("#FF0000"));
    EXPECT_EQ(posts(), 1);

    // A drag that leaves the slider far behind and lifts outside saves too.
    ASSERT_TRUE(on.window->touchDown(on.at(cell->sliderG, 0.99, 0.5)));
    EXPECT_EQ(textOf(cell->valueG), "255");
    on.window->touchMove(on.at(cell->sliderG, 0.99, 8.0));
    on.window->touchUp(on.at(cell->sliderG, 0.99, 8.0));
    EXPECT_EQ(settings()->at("buttonColor"), PlistValue("#FFFF00"));
    EXPECT_EQ(posts(), 2);
}

TEST_F(ColorCellTest, EachNumberAndTheHexTextOpenTheirPromptWhenTappedAndNothingWhenLeft) {
    writeSettings({{"buttonColor", "#102030"}});
    CellInWindow on(makeCell(colorSpecifier()));
    const auto& cell = on.cell;
    const std::pair<id, NSInteger> targets[] = {
        {cell->valueR, 2626}, {cell->valueG, 2627}, {cell->valueB, 2628}, {cell->hexColorField, 2629}};
    for (const auto& [label, tag] : targets) {
        // Pressed, then released well away: the button under the text opens nothing.
        ASSERT_TRUE(on.window->touchDown(on.center(label))) << tag;
        on.window->touchMove(on.at(label, 0.5, 10));
        on.window->touchUp(on.at(label, 0.5, 10));
        EXPECT_TRUE(shown().empty()) << tag;
        // Tapped: its prompt.
        ASSERT_TRUE(on.window->tap(on.center(label))) << tag;
        ASSERT_EQ(shown().size(), 1u) << tag;
        EXPECT_EQ(shown()[0]->tag(), tag);
        shown()[0]->tapButtonAtIndex(0);
    }
    EXPECT_EQ(posts(), 0);
}

// Counts the color pushes the cell makes to its picker (`setColor:`), while the picker still
// shows what it is given.
int gPushes = 0;
Imp gPreviousSetColor;
void countPickerPushes() {
    gPushes = 0;
    gPreviousSetColor =
        class_replaceMethod(objc_getClass("HMColorPickerView_H"), sel_registerName("setColor:"),
                            makeImp([](Object* self, id color) {
                                ++gPushes;
                                callImp(gPreviousSetColor, self, color);
                            }));
}

TEST_F(ColorCellTest, EntriesPushTheColorToThePickerAndThePickersOwnChangesDoNot) {
    writeSettings({{"buttonColor", "#000000"}});
    countPickerPushes();
    CellInWindow on(makeCell(colorSpecifier()));
    const auto& cell = on.cell;
    const int afterConstruction = gPushes; // the picker starts at the stored color
    auto pushesSince = [&, last = afterConstruction]() mutable {
        const int n = gPushes - last;
        last = gPushes;
        return n;
    };

    // A slider move: one push per value change.
    ASSERT_TRUE(on.window->touchDown(on.at(cell->sliderB, 0.25, 0.5)));
    on.window->touchUp(on.at(cell->sliderB, 0.25, 0.5));
    EXPECT_EQ(pushesSince(), 1);

    // A typed channel and a typed hex value.
    ASSERT_TRUE(on.window->tap(on.center(cell->valueG)));
    msg(msg<id>(shown().at(0), "textFieldAtIndex:", NSInteger{0}), "setText:", std::string("200"));
    shown().at(0)->tapButtonAtIndex(1);
    EXPECT_EQ(pushesSince(), 1);
    ASSERT_TRUE(on.window->tap(on.center(cell->hexColorField)));
    msg(msg<id>(shown().at(0), "textFieldAtIndex:", NSInteger{0}), "setText:", std::string("336699"));
    shown().at(0)->tapButtonAtIndex(1);
    EXPECT_EQ(pushesSince(), 1);
    EXPECT_EQ(settings()->at("buttonColor"), PlistValue("#336699"));

    // A drag on the picker's square: the cell follows the picker and pushes nothing back.
    const id square = msg<id>(cell->colorPickerView_H, "brightnessSaturationView");
    ASSERT_TRUE(square);
    ASSERT_TRUE(on.window->touchDown(on.at(square, 0.8, 0.1)));
    on.window->touchMove(on.at(square, 0.9, 0.2));
    on.window->touchUp(on.at(square, 0.9, 0.2));
    EXPECT_NE(settings()->at("buttonColor"), PlistValue("#336699")); // the picker's color was saved
    EXPECT_EQ(settings()->at("buttonColor"), PlistValue(textOf(cell->hexColorField)));
    EXPECT_EQ(pushesSince(), 0);
}

} // namespace
