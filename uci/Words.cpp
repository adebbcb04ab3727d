#include "Words.h"

#include <algorithm>

std::vector<std::string_view> wordsOf(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while ((at = text.find_first_not_of(" \t", at)) != std::string_view::npos) {
        const std::size_t end = std::min(text.find_first_of(" \t", at), text.size());
        words.push_back(text.substr(at, end - at));
        at = end;
    }
    return words;
}

std::string joined(const std::vector<std::string_view>& words, std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to && i < words.size(); ++i) {
        if (i > from) {
            text += ' ';
        }
        text += words[i];
    }
    return text;
}
