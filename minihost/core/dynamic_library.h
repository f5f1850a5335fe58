// Loading a module at run time, behind one small interface: dlopen here; a
// LoadLibrary form can be added in its own file.
#pragma once

#include <memory>
#include <string>

namespace minihost {

class DynamicLibrary {
public:
    virtual ~DynamicLibrary() = default;
    /// The address of an exported symbol, or null.
    virtual void* symbol(const char* name) const = 0;

    /// Throws std::runtime_error with the loader's message on failure.
    static std::unique_ptr<DynamicLibrary> open(const std::string& path);
};

}  // namespace minihost
