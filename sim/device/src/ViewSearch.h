// Finding what a person sees in a view tree, and where to touch it: the device's parts share
// these to reach views by what they show (texts, tags, places) rather than by their classes.
#pragma once

#include "coregraphics/CGGeometry.h"
#include "objc/runtime.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIView.h"

#include <functional>
#include <string>
#include <vector>

namespace sim {

UIView* asView(const id& view);
// The view's center in screen points.
CGPoint centerOnScreen(const id& view);
// The view's frame in screen points.
CGRect frameOnScreen(const id& view);
// The first view, depth first from `root`, that `match` takes.
id findView(const id& root, const std::function<bool(const id&)>& match);
// Every view below `root` (itself included) that `match` takes, depth first.
std::vector<id> findViews(const id& root, const std::function<bool(const id&)>& match);
// The text a label shows, "" for any other view or a hidden one.
std::string shownText(const id& view);
// Whether the view's class takes touches with its own method rather than passing them on.
bool handlesTouchesItself(const id& view);
// The text fields an alert of its style shows.
int textFieldCount(const UIAlertView& alert);
// "(x, y)" for messages.
std::string pointText(CGPoint p);
// A word in quotes, and a list of words in quotes ("none" when empty).
std::string quoted(const std::string& s);
std::string listed(const std::vector<std::string>& words);

} // namespace sim
