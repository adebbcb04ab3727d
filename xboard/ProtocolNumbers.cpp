#include "ProtocolNumbers.h"

#include <limits>

int64_t leadingDigitsValue(const std::string& text) {
    constexpr int64_t limit = std::numeric_limits<int64_t>::max() / 10 - 10;
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < limit) {
            value = value * 10 + (text[i] - '0');
        }
    }
    return negative ? -value : value;
}

int64_t levelBaseTimeMs(const std::string& text) {
    // Saturated minutes stay far below the int64 limit after the multiplication.
    constexpr int64_t maxMinutes = int64_t{1} << 40;
    int64_t minutes = leadingDigitsValue(text);
    if (minutes > maxMinutes) {
        minutes = maxMinutes;
    } else if (minutes < -maxMinutes) {
        minutes = -maxMinutes;
    }
    int64_t ms = minutes * 60000;
    const std::size_t p = text.find_first_not_of("0123456789");
    if (p != std::string::npos && text[p] == ':') {
        int64_t seconds = leadingDigitsValue(text.substr(p + 1));
        if (seconds > maxMinutes) {
            seconds = maxMinutes;
        } else if (seconds < -maxMinutes) {
            seconds = -maxMinutes;
        }
        ms += seconds * 1000;
    }
    return ms;
}

int32_t clampToInt32(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) {
        return std::numeric_limits<int32_t>::max();
    }
    if (value < std::numeric_limits<int32_t>::min()) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(value);
}
