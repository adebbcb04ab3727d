#pragma once

#include <string>
#include <string_view>
#include <vector>

// The words of a command line, split at blanks and tabs.
std::vector<std::string_view> wordsOf(std::string_view text);

// Words from..to-1, one blank between each two.
std::string joined(const std::vector<std::string_view>& words, std::size_t from, std::size_t to);
