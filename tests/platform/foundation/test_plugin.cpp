// A bundle executable: registers its principal class when loaded.
#include "objc/runtime.h"

namespace {
struct TestPrincipal : NSObject {
    std::string greeting() const { return "hello from the plugin"; }
};
const ClassDef<TestPrincipal> kTestPrincipal("TestPrincipal", "NSObject", {
    method("greeting", &TestPrincipal::greeting),
});
} // namespace
