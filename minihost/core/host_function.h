// Every function the stand-in host offers the plug-in, as one enumeration:
// the host counts calls and arms faults by it, and names a function only
// where a person reads it (the ledger, violations, fault injection by name).
//
// Enumerators are spelled as the SDK spells the functions: suite functions
// (PF_NewWorld, AEGP_GetLayerObjectType, ...), callbacks (add_param,
// checkout_param, transform_world, ...), the basic suite (AcquireSuite,
// ReleaseSuite) and the ANSI sprintf and strcpy.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace minihost {

// (Left unformatted: clang-format indents the list further on every pass.)
// clang-format off
// The list, written once; the enumeration and the names are made from it.
#define MINIHOST_HOST_FUNCTIONS(X)                                                                               \
    X(AcquireSuite) X(ReleaseSuite)                                                                              \
    X(add_param) X(checkout_param) X(checkin_param) X(abort) X(progress)                                         \
    X(checkout_layer) X(GuidMixInPtr) X(checkout_layer_pixels) X(checkin_layer_pixels) X(checkout_output)        \
    X(copy) X(fill) X(transform_world) X(sprintf) X(strcpy)                                                      \
    X(PF_NewWorld) X(PF_DisposeWorld) X(PF_GetPixelFormat)                                                       \
    X(PF_UpdateParamUI) X(PF_GetCurrentState)                                                                    \
    X(PF_PathIsOpen) X(PF_PathNumSegments) X(PF_PathVertexInfo)                                                  \
    X(AEGP_GetEffectLayer) X(AEGP_GetNewEffectForEffect) X(AEGP_DisposeEffect) X(AEGP_SetDynamicStreamFlag)      \
    X(AEGP_GetLayerObjectType) X(AEGP_ConvertCompToLayerTime) X(AEGP_ConvertLayerToCompTime)                     \
    X(AEGP_GetLayerToWorldXform) X(AEGP_GetNewEffectStreamByIndex) X(AEGP_DisposeStream)                         \
    X(AEGP_GetLayerStreamValue) X(AEGP_MatrixDecompose4) X(AEGP_GetNewTextOutlines)                              \
    X(AEGP_DisposeTextOutlines) X(AEGP_GetNumTextOutlines) X(AEGP_GetIndexedTextOutline)

enum class HostFunction {
#define MINIHOST_ENUMERATOR(name) name,
    MINIHOST_HOST_FUNCTIONS(MINIHOST_ENUMERATOR)
#undef MINIHOST_ENUMERATOR
};

/// How many host functions there are.
inline constexpr std::size_t kHostFunctionCount = 0
#define MINIHOST_ONE(name) +1
    MINIHOST_HOST_FUNCTIONS(MINIHOST_ONE)
#undef MINIHOST_ONE
    ;
// clang-format on

/// The function's name as the SDK spells it: "PF_NewWorld".
const char* nameOf(HostFunction function);

/// The function of that name; nothing for a name the host does not offer.
std::optional<HostFunction> hostFunctionNamed(std::string_view name);

inline constexpr std::size_t indexOf(HostFunction function) { return static_cast<std::size_t>(function); }

}  // namespace minihost
