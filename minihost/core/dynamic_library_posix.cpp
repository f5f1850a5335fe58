#include <dlfcn.h>

#include <stdexcept>

#include "minihost/core/dynamic_library.h"

namespace minihost {
namespace {

class PosixLibrary : public DynamicLibrary {
public:
    explicit PosixLibrary(void* handle) : handle_(handle) {}
    ~PosixLibrary() override { dlclose(handle_); }
    PosixLibrary(const PosixLibrary&) = delete;
    PosixLibrary& operator=(const PosixLibrary&) = delete;

    void* symbol(const char* name) const override { return dlsym(handle_, name); }

private:
    void* handle_;
};

}  // namespace

std::unique_ptr<DynamicLibrary> DynamicLibrary::open(const std::string& path) {
    // Local: the plug-in's symbols must not resolve anyone else's.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        throw std::runtime_error("cannot load " + path + ": " + (why != nullptr ? why : "unknown error"));
    }
    return std::make_unique<PosixLibrary>(handle);
}

}  // namespace minihost
