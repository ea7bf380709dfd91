// libstatusbar's status-bar item: an icon an add-on places in SpringBoard's status bar.
// Built twice (libstatusbar8.dylib and libstatusbar.dylib, the package's two variants); when
// both are loaded into one process only the first registers the class.
#include "foundation/DeviceEvents.h"
#include "objc/runtime.h"
#include "springboard/StatusBar.h"

#include <cstdint>
#include <string>

namespace {

struct LSStatusBarItem : NSObject {
    std::uint64_t handle_ = 0;
    bool visible_ = false;

    ~LSStatusBarItem() override {
        if (handle_)
            StatusBar::shared().removeItem(handle_);
    }
    id initWithIdentifierAlignment(std::string identifier, NSInteger alignment) {
        if (!handle_)
            handle_ = StatusBar::shared().addItem(std::move(identifier), alignment);
        return self();
    }
    void setVisible(bool visible) {
        visible_ = visible;
        StatusBar::shared().setVisible(handle_, visible);
    }
    bool isVisible() const { return visible_; }
    void setImageName(std::string name) { StatusBar::shared().setImageName(handle_, std::move(name)); }
};

void registerLSStatusBarItem() {
    if (objc_getClass("LSStatusBarItem"))
        return; // the other variant came first
    static const ClassDef<LSStatusBarItem> kLSStatusBarItem(
        "LSStatusBarItem", "NSObject",
        {
            method("initWithIdentifier:alignment:", &LSStatusBarItem::initWithIdentifierAlignment),
            method("setVisible:", &LSStatusBarItem::setVisible),
            method("isVisible", &LSStatusBarItem::isVisible),
            method("setImageName:", &LSStatusBarItem::setImageName),
        });
}

__attribute__((constructor)) void loadLibstatusbar() {
    DeviceEvents::record("library loaded", HM_LIBRARY_NAME); // which variant, as its file is named
    registerLSStatusBarItem();
}

} // namespace
