// A slider's arithmetic: the value kept inside its range, and the mapping between a value and
// the thumb's position along a track that leaves room for half a thumb at each end.
// Pure, no views.
#pragma once

inline constexpr double kSliderThumbDiameter = 28.0;
inline constexpr double kSliderTrackHeight = 2.0;

// `value` limited to [minimum, maximum]; with minimum above maximum the minimum wins.
float clampSliderValue(float value, float minimum, float maximum);

// The thumb's center along a slider `width` wide showing `value` (already in range).
double sliderThumbCenter(float value, float minimum, float maximum, double width);

// The value a finger at `x` along a slider `width` wide chooses, clamped to the range.
float sliderValueAt(double x, float minimum, float maximum, double width);
