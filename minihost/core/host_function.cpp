#include "minihost/core/host_function.h"

namespace minihost {
namespace {

constexpr const char* kNames[] = {
#define MINIHOST_NAME(name) #name,
    MINIHOST_HOST_FUNCTIONS(MINIHOST_NAME)
#undef MINIHOST_NAME
};
static_assert(sizeof(kNames) / sizeof(kNames[0]) == kHostFunctionCount);

}  // namespace

const char* nameOf(HostFunction function) { return kNames[indexOf(function)]; }

std::optional<HostFunction> hostFunctionNamed(std::string_view name) {
    for (std::size_t i = 0; i < kHostFunctionCount; ++i) {
        if (name == kNames[i]) {
            return static_cast<HostFunction>(i);
        }
    }
    return std::nullopt;
}

}  // namespace minihost
