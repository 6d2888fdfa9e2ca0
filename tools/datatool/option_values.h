// The values of datatool's command-line options: numbers written out in full, within a
// range, without the blanks, signs and trailing text the C library's conversions pass
// over ("5x", " 5" and "-1" are none). Pure functions: nothing when the text is no such
// number.
#pragma once

#include <optional>

namespace datatool {

// A whole number from 0 to max, in decimal digits alone.
std::optional<unsigned long> ParseWholeNumber(const char* text, unsigned long max);
// A decimal number from min to max ("2", "2.5", ".5").
std::optional<float> ParseNumber(const char* text, float min, float max);

} // namespace datatool
