#pragma once

#include <string>

namespace loomscope {

// Numbers as the program shows them: the shortest general decimal form with up to 15
// significant digits and no trailing zeros ("85.3", "100", "0.333"), with the given decimal
// separator and no digit grouping.
std::string formatGeneral(double value, char decimalSeparator = '.');

// The decimal separator of the locale the environment names (LC_ALL, LC_NUMERIC, LANG), as
// the C library has it: "." when that locale is not installed (the system then works in the
// C locale, as every other program does) or its separator is not one ASCII character. The
// window and the command-line tools both take it from here, so they write the same numbers.
char environmentDecimalSeparator();

// The shortest text that reads back as the same 32-bit float ("0.1", not "0.100000001").
std::string formatFloat(float value);

// x * 1000 to the nearest integer, ties to the even one, divided by 1000: inches and scale.
double roundTo3Even(double value);

// x * 10 to the nearest integer, halves away from zero, divided by 10: millimetres.
double roundTo1AwayFromZero(double value);

// Millimetres to inches as shown everywhere: mm / 25.4 to three decimals, ties to even.
double mmToInches(double millimetres);

// "%0.1f" with the given separator: the measuring tool's read-out.
std::string formatOneDecimal(double value, char decimalSeparator = '.');

} // namespace loomscope
