// Comparing names as a person types them: for the suggestions ("did you
// mean ...") that answer a misspelt font family, flag or scene key.
#pragma once

#include <cstddef>
#include <string>

namespace minihost::text {

/// s in lower case (ASCII letters only; other bytes as they are).
std::string lower(std::string s);

/// Edits (insert, delete or replace one letter) that turn a into b, ignoring
/// the case of ASCII letters.
std::size_t editDistance(const std::string& a, const std::string& b);

}  // namespace minihost::text
