// CoreGraphics: geometry, colors, the bitmap context and linear gradients.
#pragma once

#include "coregraphics/CGColor.h"
#include "coregraphics/CGContext.h"
#include "coregraphics/CGGeometry.h"
#include "coregraphics/CGGradient.h"
#include "coregraphics/UIGraphics.h"
