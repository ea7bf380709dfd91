// A bundle executable: registers its principal class when loaded (TestPrincipal, or the class
// HM_PLUGIN_CLASS names, so two plugins can be told apart).
#include "objc/runtime.h"

#ifndef HM_PLUGIN_CLASS
#define HM_PLUGIN_CLASS TestPrincipal
#endif
#define HM_TEXT(x) HM_TEXT2(x)
#define HM_TEXT2(x) #x

namespace {
struct HM_PLUGIN_CLASS : NSObject {
    std::string greeting() const { return "hello from the plugin"; }
};
const ClassDef<HM_PLUGIN_CLASS> kPrincipal(HM_TEXT(HM_PLUGIN_CLASS), "NSObject",
                                           {
                                               method("greeting", &HM_PLUGIN_CLASS::greeting),
                                           });
} // namespace
