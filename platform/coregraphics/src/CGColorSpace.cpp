#include "coregraphics/CGColor.h"

// Every device RGB space is the same space; a handle is still made and released so that
// unbalanced use shows up under the sanitizers as it would leak on the device.
struct CGColorSpace {
    int model = 0; // device RGB
};

CGColorSpaceRef CGColorSpaceCreateDeviceRGB() {
    return new CGColorSpace;
}

void CGColorSpaceRelease(CGColorSpaceRef space) {
    delete space;
}
