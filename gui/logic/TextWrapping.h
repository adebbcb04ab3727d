#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Breaks a text into lines no wider than `width`, as `widthOf` measures them: at the text's own
// line ends, else between words, and a word wider than a line (a long path) between characters.
std::vector<std::string> wrapText(std::string_view text, float width,
                                  const std::function<float(std::string_view)>& widthOf);
