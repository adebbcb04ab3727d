#pragma once

#include <cstdint>
#include <string>

// The value of a numeric argument by its leading characters: an optional sign, then decimal
// digits; whatever follows is ignored and no digits give 0. Saturates instead of overflowing,
// so that a huge value is rejected by the callers' range checks rather than wrapping into them.
int64_t leadingDigitsValue(const std::string& text);

// The base time of "level" in milliseconds: minutes, optionally followed by ":" and seconds.
// A fraction of a minute ("1.5") is dropped.
int64_t levelBaseTimeMs(const std::string& text);

// The value clamped into the range of a 32-bit int.
int32_t clampToInt32(int64_t value);
