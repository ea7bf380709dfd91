#include "uikit/UIAlertView.h"

#include "Painter.h"
#include "uikit/CALayer.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UILabel.h"
#include "uikit/UIScreen.h"
#include "uikit/UITextField.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr CGColor kPanelColor{0.97, 0.97, 0.97, 1};
constexpr CGColor kSeparatorColor{0.8, 0.8, 0.8, 1};
constexpr CGFloat kPanelCornerRadius = 7;
constexpr CGFloat kSeparatorWidth = 0.5;
constexpr NSInteger kTextFieldBorderRoundedRect = 3;

std::vector<Ref<UIAlertView>>& shownList() {
    static std::vector<Ref<UIAlertView>> list;
    return list;
}

void removeFromShownList(const UIAlertView* alert) {
    auto& list = shownList();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [alert](const Ref<UIAlertView>& a) { return a.get() == alert; }),
               list.end());
}

template <class T> Ref<T> make(const char* className) {
    return cast<T>(
        msg<id>(msg<id>(classObject(objc_getClass(className)), "alloc"), "initWithFrame:", CGRectZero));
}

Ref<UITextField> makeField(std::string placeholder, bool secure) {
    auto field = make<UITextField>("UITextField");
    field->setBorderStyle(kTextFieldBorderRoundedRect);
    field->setPlaceholder(std::move(placeholder));
    field->setSecureTextEntry(secure);
    return field;
}

Ref<UILabel> makeTextLabel(const std::string& text, CGRect frame) {
    auto label = make<UILabel>("UILabel");
    msg(label, "setFrame:", frame);
    msg(label, "setNumberOfLines:", NSInteger{0});
    msg(label, "setTextAlignment:", NSTextAlignmentCenter);
    msg(label, "setText:", text);
    return label;
}

} // namespace

id UIAlertView::initWithTitleMessageDelegateCancelButtonTitleOtherButtonTitles(
    std::string title, std::string message, id delegate, std::string cancelButtonTitle,
    std::vector<std::string> otherButtonTitles) {
    msg<id>(this, "initWithFrame:", CGRectZero);
    title_ = std::move(title);
    message_ = std::move(message);
    delegate_ = delegate;
    if (!cancelButtonTitle.empty())
        cancelButtonIndex_ = msg<NSInteger>(this, "addButtonWithTitle:", cancelButtonTitle);
    for (std::string& other : otherButtonTitles)
        msg<NSInteger>(this, "addButtonWithTitle:", std::move(other));
    return self();
}

NSInteger UIAlertView::addButtonWithTitle(std::string title) {
    buttonTitles_.push_back(std::move(title));
    relayoutIfVisible();
    return NSInteger(buttonTitles_.size()) - 1;
}

void UIAlertView::setTitle(std::string title) {
    title_ = std::move(title);
    relayoutIfVisible();
}

void UIAlertView::setMessage(std::string message) {
    message_ = std::move(message);
    relayoutIfVisible();
}

void UIAlertView::setCancelButtonIndex(NSInteger index) {
    cancelButtonIndex_ = index;
    relayoutIfVisible();
}

void UIAlertView::setAccessoryView(id view) {
    if (accessoryView_ && accessoryView_ != view)
        msg(accessoryView_, "removeFromSuperview");
    accessoryView_ = std::move(view);
    relayoutIfVisible();
}

void UIAlertView::relayoutIfVisible() {
    if (visible_)
        buildSubviews();
}

std::string UIAlertView::buttonTitleAtIndex(NSInteger index) const {
    if (index < 0 || index >= numberOfButtons())
        return "";
    return buttonTitles_[size_t(index)];
}

NSInteger UIAlertView::firstOtherButtonIndex() const {
    for (NSInteger i = 0; i < numberOfButtons(); ++i) {
        if (i != cancelButtonIndex_)
            return i;
    }
    return -1;
}

void UIAlertView::setAlertViewStyle(NSInteger style) {
    style_ = style;
    textFields_.clear();
    if (style == UIAlertViewStyleSecureTextInput)
        textFields_.push_back(makeField("", true));
    if (style == UIAlertViewStylePlainTextInput)
        textFields_.push_back(makeField("", false));
    if (style == UIAlertViewStyleLoginAndPasswordInput) {
        textFields_.push_back(makeField("Login", false));
        textFields_.push_back(makeField("Password", true));
    }
    relayoutIfVisible();
}

id UIAlertView::textFieldAtIndex(NSInteger index) const {
    if (index < 0 || size_t(index) >= textFields_.size()) {
        std::fprintf(
            stderr,
            "-[UIAlertView textFieldAtIndex:]: text field index (%ld) is outside of the bounds of the "
            "array of text fields\n",
            index);
        std::abort();
    }
    return textFields_[size_t(index)];
}

void UIAlertView::buildSubviews() {
    for (const id& sub : subviews())
        msg(sub, "removeFromSuperview");
    buttons_.clear();

    AlertLayoutInput in;
    in.screen = UIScreen::main()->bounds().size;
    in.titleHeight = labelTextSize(title_, kAlertTextWidth, 0).height;
    in.messageHeight = labelTextSize(message_, kAlertTextWidth, 0).height;
    in.textFieldCount = int(textFields_.size());
    in.hasAccessory = accessoryView_ != nullptr;
    in.accessoryHeight = accessoryView_ ? msg<CGRect>(accessoryView_, "frame").size.height : 0;
    in.buttonCount = int(buttonTitles_.size());
    in.cancelButtonIndex = cancelButtonIndex_;
    layout_ = layoutAlert(in);

    msg(this, "setFrame:", layout_.panel);
    id layer = msg<id>(this, "layer");
    msg(layer, "setBackgroundColor:", kPanelColor);
    msg(layer, "setCornerRadius:", kPanelCornerRadius);
    msg(layer, "setMasksToBounds:", true);

    if (!title_.empty())
        msg(this, "addSubview:", id(makeTextLabel(title_, layout_.title)));
    if (!message_.empty())
        msg(this, "addSubview:", id(makeTextLabel(message_, layout_.message)));
    for (size_t i = 0; i < textFields_.size(); ++i) {
        msg(textFields_[i], "setFrame:", layout_.textFields[i]);
        msg(this, "addSubview:", textFields_[i]);
    }
    if (accessoryView_) {
        msg(accessoryView_, "setFrame:", layout_.accessory);
        msg(this, "addSubview:", accessoryView_);
    }
    for (size_t i = 0; i < buttonTitles_.size(); ++i) {
        id button = msg<id>(classObject(objc_getClass("UIButton")), "buttonWithType:", UIButtonTypeSystem);
        msg(button, "setFrame:", layout_.buttons[i]);
        msg(button, "setTitle:forState:", buttonTitles_[i], UIControlStateNormal);
        msg(button, "addTarget:action:forControlEvents:", self(), sel_registerName("_buttonTapped:"),
            UIControlEventTouchUpInside);
        msg(this, "addSubview:", button);
        buttons_.push_back(button);
    }
}

void UIAlertView::show() {
    if (visible_)
        return;
    buildSubviews();
    visible_ = true;
    shownList().push_back(selfAs<UIAlertView>());
    id delegate = delegate_.lock();
    if (respondsToSelector(delegate.get(), sel_registerName("willPresentAlertView:")))
        msg(delegate, "willPresentAlertView:", self());
    if (respondsToSelector(delegate.get(), sel_registerName("didPresentAlertView:")))
        msg(delegate, "didPresentAlertView:", self());
}

void UIAlertView::dismiss() {
    if (!visible_)
        return;
    id keep = self();
    visible_ = false;
    removeFromShownList(this);
}

void UIAlertView::dismissWithClickedButtonIndexAnimated(NSInteger index, bool) {
    if (!visible_)
        return;
    id keep = self();
    id delegate = delegate_.lock();
    if (respondsToSelector(delegate.get(), sel_registerName("alertView:willDismissWithButtonIndex:")))
        msg(delegate, "alertView:willDismissWithButtonIndex:", keep, index);
    visible_ = false;
    removeFromShownList(this);
    if (respondsToSelector(delegate.get(), sel_registerName("alertView:didDismissWithButtonIndex:")))
        msg(delegate, "alertView:didDismissWithButtonIndex:", keep, index);
}

bool UIAlertView::tapButtonAtIndex(NSInteger index) {
    if (!visible_ || index < 0 || index >= numberOfButtons())
        return false;
    id keep = self();
    id delegate = delegate_.lock();
    if (respondsToSelector(delegate.get(), sel_registerName("alertView:clickedButtonAtIndex:")))
        msg(delegate, "alertView:clickedButtonAtIndex:", keep, index);
    msg(this, "dismissWithClickedButtonIndex:animated:", index, true);
    return true;
}

void UIAlertView::buttonTapped(id sender) {
    const auto it = std::find(buttons_.begin(), buttons_.end(), sender);
    if (it != buttons_.end())
        tapButtonAtIndex(NSInteger(it - buttons_.begin()));
}

std::vector<Ref<UIAlertView>> UIAlertView::shownAlerts() {
    return shownList();
}

void UIAlertView::paintContent(Painter& painter) {
    if (buttonTitles_.empty())
        return;
    const CGFloat width = bounds().size.width;
    painter.fillRoundedRect(CGRectMake(0, layout_.buttonsTop, width, kSeparatorWidth), 0, kSeparatorColor);
    for (const CGRect& b : layout_.buttons) {
        if (b.origin.x > 0)
            painter.fillRoundedRect(CGRectMake(b.origin.x, b.origin.y, kSeparatorWidth, b.size.height), 0,
                                    kSeparatorColor);
        else if (b.origin.y > layout_.buttonsTop)
            painter.fillRoundedRect(CGRectMake(0, b.origin.y, width, kSeparatorWidth), 0, kSeparatorColor);
    }
}

namespace {
const ClassDef<UIAlertView>
    kUIAlertView("UIAlertView", "UIView",
                 {
                     method("initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:",
                            &UIAlertView::initWithTitleMessageDelegateCancelButtonTitleOtherButtonTitles),
                     method("title", &UIAlertView::title),
                     method("setTitle:", &UIAlertView::setTitle),
                     method("message", &UIAlertView::message),
                     method("setMessage:", &UIAlertView::setMessage),
                     method("delegate", &UIAlertView::delegate),
                     method("setDelegate:", &UIAlertView::setDelegate),
                     method("addButtonWithTitle:", &UIAlertView::addButtonWithTitle),
                     method("numberOfButtons", &UIAlertView::numberOfButtons),
                     method("buttonTitleAtIndex:", &UIAlertView::buttonTitleAtIndex),
                     method("cancelButtonIndex", &UIAlertView::cancelButtonIndex),
                     method("setCancelButtonIndex:", &UIAlertView::setCancelButtonIndex),
                     method("firstOtherButtonIndex", &UIAlertView::firstOtherButtonIndex),
                     method("alertViewStyle", &UIAlertView::alertViewStyle),
                     method("setAlertViewStyle:", &UIAlertView::setAlertViewStyle),
                     method("textFieldAtIndex:", &UIAlertView::textFieldAtIndex),
                     method("accessoryView", &UIAlertView::accessoryView),
                     method("setAccessoryView:", &UIAlertView::setAccessoryView),
                     method("show", &UIAlertView::show),
                     method("dismiss", &UIAlertView::dismiss),
                     method("dismissWithClickedButtonIndex:animated:",
                            &UIAlertView::dismissWithClickedButtonIndexAnimated),
                     method("isVisible", &UIAlertView::isVisible),
                     method("_buttonTapped:", &UIAlertView::buttonTapped),
                 });
} // namespace
