#include "springboard/AlarmActions.h"

namespace {
AlarmActions* gCurrent = nullptr;
}

AlarmActions* AlarmActions::current() {
    return gCurrent;
}
void AlarmActions::setCurrent(AlarmActions* actions) {
    gCurrent = actions;
}
