// Rounding of the page geometry: to a number of decimals, by the decimal digits of the value.
//
// The value is first written with 15 significant digits, which drops the binary representation error
// beyond them (2.675 is 2.67499999999999982236431605997495353221893310546875 as a double, but
// 2.67500000000000 at 15 digits). That decimal is rounded at the given decimal, a next digit of 5 or more
// away from zero, and the result is the double nearest to the rounded decimal. The user's locale plays no
// part.
#pragma once

// Digits of 0 or less round to a whole number. Values that are not finite come back unchanged.
double RoundFloat(double Value, int Digits);
