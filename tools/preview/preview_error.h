// The preview tool's errors: one line meant for the user.
//
// InputError: what the user gave cannot be used (flag, value, scene file,
// font, output path); RenderError: the plug-in or the host failed.
#pragma once

#include <stdexcept>
#include <string>

namespace minihost::preview {

class InputError : public std::runtime_error {
public:
    explicit InputError(const std::string& what) : std::runtime_error(what) {}
};

class RenderError : public std::runtime_error {
public:
    explicit RenderError(const std::string& what) : std::runtime_error(what) {}
};

}  // namespace minihost::preview
