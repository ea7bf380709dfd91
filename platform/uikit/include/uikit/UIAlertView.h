// An alert: a title, a message, buttons by index, an optional cancel button index, a style
// that may add text fields, an optional accessory view (set by key-value coding of
// "accessoryView"), and a delegate held weakly.
//
// `show` lays the alert out as a panel centered on the main screen (see AlertLayout) and puts
// it on the process-wide list of shown alerts, which hosts, tests and the simulator read and
// tap through the C++ calls below. Tapping a button (by index, or by touching it through a
// window) sends the delegate `alertView:clickedButtonAtIndex:`, then dismisses the alert with
// that index: `alertView:willDismissWithButtonIndex:` and `alertView:didDismissWithButtonIndex:`,
// each only when the delegate answers it. `dismiss` takes the alert down without telling the
// delegate. The list holds the alerts it shows, so an alert lives at least until dismissed.
// Changing a shown alert (title, message, buttons, style, accessory view) lays it out again.
//
// `textFieldAtIndex:` outside the style's fields (one for styles 1 and 2, two for style 3) is
// a programming error and stops the program, as the device raises.
#pragma once

#include "uikit/AlertLayout.h"
#include "uikit/UIView.h"

#include <string>
#include <vector>

struct UIAlertView : UIView {
    id initWithTitleMessageDelegateCancelButtonTitleOtherButtonTitles(
        std::string title, std::string message, id delegate, std::string cancelButtonTitle,
        std::vector<std::string> otherButtonTitles);
    std::string title() const { return title_; }
    void setTitle(std::string title);
    std::string message() const { return message_; }
    void setMessage(std::string message);
    id delegate() const { return delegate_.lock(); }
    void setDelegate(id delegate) { delegate_ = delegate; }

    NSInteger addButtonWithTitle(std::string title);
    NSInteger numberOfButtons() const { return NSInteger(buttonTitles_.size()); }
    std::string buttonTitleAtIndex(NSInteger index) const;
    NSInteger cancelButtonIndex() const { return cancelButtonIndex_; }
    void setCancelButtonIndex(NSInteger index);
    NSInteger firstOtherButtonIndex() const;

    NSInteger alertViewStyle() const { return style_; }
    void setAlertViewStyle(NSInteger style);
    id textFieldAtIndex(NSInteger index) const;
    id accessoryView() const { return accessoryView_; }
    void setAccessoryView(id view);

    void show();
    void dismiss();
    void dismissWithClickedButtonIndexAnimated(NSInteger index, bool animated);
    bool isVisible() const { return visible_; }

    void paintContent(Painter& painter) override;

    // C++ side. Shown alerts, the oldest first.
    static std::vector<Ref<UIAlertView>> shownAlerts();
    // A user's tap on a button of a shown alert; false (and nothing happens) when the alert is
    // not shown or has no such button.
    bool tapButtonAtIndex(NSInteger index);
    // The laid-out parts of the last `show` (panel in screen coordinates).
    const AlertLayout& layout() const { return layout_; }
    // The action of the alert's own buttons.
    void buttonTapped(id sender);

  private:
    void buildSubviews();
    void relayoutIfVisible();

    std::string title_;
    std::string message_;
    std::weak_ptr<Object> delegate_;
    std::vector<std::string> buttonTitles_;
    NSInteger cancelButtonIndex_ = -1;
    NSInteger style_ = 0;
    std::vector<id> textFields_;
    id accessoryView_;
    std::vector<id> buttons_;
    bool visible_ = false;
    AlertLayout layout_;
};
