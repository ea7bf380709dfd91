// Whose finger is down: each page's touch against another page's finger, in time.
#include "Fingers.h"

#include <gtest/gtest.h>

namespace sim::web {
namespace {

using namespace std::chrono_literals;

TEST(Fingers, AnotherPagesTouchWaitsUntilTheFingerLiftsOrIsAbandoned) {
    const Fingers::Time t0{};
    struct Step {
        const char* finger;
        const char* phase;
        std::chrono::milliseconds at;
        bool allowed;
        bool release; // as the front end does after an up, a tap or a refused down
    };
    const Step steps[] = {
        {"a", "down", 0ms, true, false},      {"b", "down", 10ms, false, false},
        {"b", "move", 20ms, false, false},    {"b", "tap", 30ms, false, false},
        {"a", "move", 9000ms, true, false},   // a move keeps it held
        {"b", "down", 18000ms, false, false}, // 9 s after the last move: still held
        {"a", "up", 18500ms, true, true},     {"b", "down", 18600ms, true, false},
        {"b", "up", 18700ms, true, true},     {"c", "down", 19000ms, true, false},
        {"a", "down", 29001ms, true, false}, // 10 s without a move: abandoned, taken over
        {"c", "move", 29002ms, false, false}, {"a", "up", 29003ms, true, true},
        {"", "tap", 29004ms, true, true}, // a page that names no finger
    };
    Fingers fingers;
    for (const Step& s : steps) {
        SCOPED_TRACE(std::string(s.finger) + " " + s.phase + " at " + std::to_string(s.at.count()));
        const std::string e = fingers.claim("phone", s.finger, s.phase, t0 + s.at);
        EXPECT_EQ(e.empty(), s.allowed) << e;
        if (s.release)
            fingers.release("phone", s.finger);
    }
    // Screens are apart: a finger on one holds no other.
    EXPECT_EQ(fingers.claim("phone", "x", "down", t0), "");
    EXPECT_EQ(fingers.claim("other", "y", "down", t0), "");
}

} // namespace
} // namespace sim::web
