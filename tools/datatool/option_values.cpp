#include "option_values.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace datatool {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<unsigned long> ParseWholeNumber(const char* text, unsigned long max) {
    if (!IsDigit(text[0])) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (*end != '\0' || errno == ERANGE || value > max) {
        return std::nullopt;
    }
    return value;
}

std::optional<float> ParseNumber(const char* text, float min, float max) {
    if (!IsDigit(text[0]) && !(text[0] == '.' && IsDigit(text[1]))) {
        return std::nullopt;
    }
    char* end = nullptr;
    const float value = std::strtof(text, &end);
    if (*end != '\0' || !std::isfinite(value) || value < min || value > max) {
        return std::nullopt;
    }
    return value;
}

} // namespace datatool
