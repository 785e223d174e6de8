#pragma once

namespace transmitter {

// A range value that lies outside its sensor limit by no more than this (0.005 in the
// limit's units, single precision) is taken as the limit itself: limits are shown rounded,
// and a value typed from the display would otherwise be refused.
float LimitTolerance();

// The value, or the limit when the value is below it by at most the tolerance.
float SnapLowerOntoLimit(float value, float lowerLimit);
// The value, or the limit when the value is above it by at most the tolerance.
float SnapUpperOntoLimit(float value, float upperLimit);

}  // namespace transmitter
