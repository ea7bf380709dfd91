// What a control's state change marks to be redrawn, on a window holding the control: a state set
// to what it was marks nothing; a button, which draws only its title, marks only when its title
// or the title's color differs between the two states; any other control marks every change.
// Labels and text fields mark only when their text or its look changes.
#include "uikit/UIDirtyRegion.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UIView.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct StateCase {
    const char* name;
    std::function<id()> make;              // the control, before it is shown
    std::function<void(const id&)> change; // the state change
    bool marks;                            // whether the change marks anything
};
void PrintTo(const StateCase& c, std::ostream* os) {
    *os << c.name;
}

id button(NSInteger type, const char* title = nullptr) {
    id b = msg<id>(classObject(objc_getClass("UIButton")), "buttonWithType:", type);
    msg(b, "setFrame:", CGRectMake(10, 10, 80, 40));
    if (title)
        msg(b, "setTitle:forState:", std::string(title), UIControlStateNormal);
    return b;
}

id plainControl() {
    return makeView("UIControl", CGRectMake(10, 10, 80, 40));
}

id labelSaying() {
    id label = makeView("UILabel", CGRectMake(10, 10, 80, 40));
    msg(label, "setText:", std::string("Hello"));
    msg(label, "setTextColor:", rgba(0, 0, 1));
    msg(label, "setNumberOfLines:", NSInteger{1});
    return label;
}

id fieldSaying() {
    id field = makeView("UITextField", CGRectMake(10, 10, 80, 40));
    msg(field, "setText:", std::string("Hello"));
    return field;
}

void highlight(const id& c) {
    msg(c, "setHighlighted:", true);
}

class ControlMarks : public ::testing::TestWithParam<StateCase> {};

TEST_P(ControlMarks, OnlyWhatShowsIsRedrawn) {
    const StateCase& c = GetParam();
    id window = makeView("UIWindow", CGRectMake(0, 0, 100, 100));
    id control = c.make();
    msg(window, "addSubview:", control);
    auto* root = static_cast<UIView*>(window.get());
    UIDirtyTake(*root); // what building it marked
    c.change(control);
    EXPECT_EQ(!UIDirtyTake(*root).empty(), c.marks);
}

INSTANTIATE_TEST_SUITE_P(
    States, ControlMarks,
    ::testing::Values(
        StateCase{"UntitledCustomButtonHighlighted", [] { return button(UIButtonTypeCustom); }, highlight,
                  false},
        StateCase{"UntitledSystemButtonHighlighted", [] { return button(UIButtonTypeSystem); }, highlight,
                  false},
        // A system button's title dims while highlighted.
        StateCase{"SystemButtonTitleHighlighted", [] { return button(UIButtonTypeSystem, "OK"); }, highlight,
                  true},
        // A custom button's title keeps its color unless a highlighted one is set.
        StateCase{"CustomButtonTitleHighlighted", [] { return button(UIButtonTypeCustom, "OK"); }, highlight,
                  false},
        StateCase{"CustomButtonOwnHighlightedColor",
                  [] {
                      id b = button(UIButtonTypeCustom, "OK");
                      msg(b, "setTitleColor:forState:", rgba(1, 0, 0), UIControlStateHighlighted);
                      return b;
                  },
                  highlight, true},
        StateCase{"UntitledButtonGetsHighlightedTitle",
                  [] {
                      id b = button(UIButtonTypeCustom);
                      msg(b, "setTitle:forState:", std::string("Down"), UIControlStateHighlighted);
                      return b;
                  },
                  highlight, true},
        StateCase{"TitledButtonDisabled", [] { return button(UIButtonTypeCustom, "OK"); },
                  [](const id& c) { msg(c, "setEnabled:", false); }, true},
        StateCase{"ControlHighlighted", plainControl, highlight, true},
        StateCase{"ControlSelected", plainControl, [](const id& c) { msg(c, "setSelected:", true); }, true},
        StateCase{"ControlEnabledAgain", plainControl, [](const id& c) { msg(c, "setEnabled:", true); },
                  false},
        StateCase{"LabelSameText", labelSaying, [](const id& c) { msg(c, "setText:", std::string("Hello")); },
                  false},
        StateCase{"LabelNewText", labelSaying, [](const id& c) { msg(c, "setText:", std::string("Bye")); },
                  true},
        // A color of the same components is the same color, whatever object holds it.
        StateCase{"LabelEqualColor", labelSaying, [](const id& c) { msg(c, "setTextColor:", rgba(0, 0, 1)); },
                  false},
        StateCase{"LabelNewColor", labelSaying, [](const id& c) { msg(c, "setTextColor:", rgba(1, 0, 0)); },
                  true},
        StateCase{"LabelSameLines", labelSaying,
                  [](const id& c) { msg(c, "setNumberOfLines:", NSInteger{1}); }, false},
        StateCase{"LabelMoreLines", labelSaying,
                  [](const id& c) { msg(c, "setNumberOfLines:", NSInteger{0}); }, true},
        StateCase{"FieldSameText", fieldSaying, [](const id& c) { msg(c, "setText:", std::string("Hello")); },
                  false},
        StateCase{"FieldNewText", fieldSaying, [](const id& c) { msg(c, "setText:", std::string("Bye")); },
                  true},
        StateCase{"ControlUnhighlightedAgain", plainControl,
                  [](const id& c) { msg(c, "setHighlighted:", false); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
