// The one exception the text library throws: a message fit to show a user on
// one line (a font that cannot be found or opened, text that cannot be shaped).
#pragma once

#include <stdexcept>
#include <string>

namespace minihost::text {

class TextError : public std::runtime_error {
public:
    explicit TextError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace minihost::text
