// The effect's identity: the one table that GlobalSetup, About,
// PluginDataEntryFunction and the generated property lists all read.
#pragma once

#include "AE_Effect.h"
#include "host/four_char_code.h"

namespace identity {

inline constexpr char kName[] = "Quillarray";
inline constexpr char kMatchName[] = "LFQA";
inline constexpr char kCategory[] = "Lumen Foundry Lab";
inline constexpr char kEntryPoint[] = "EffectMain";
inline constexpr char kDescription[] = "Evenly spaces text per character.";

// Four-character codes as the host reads them: first character in the most
// significant byte.
inline constexpr A_u_long kKind = fourCharCode('e', 'F', 'K', 'T');
inline constexpr A_u_long kVendor = fourCharCode('8', 'B', 'I', 'M');

inline constexpr int kMajorVersion = 1;
inline constexpr int kMinorVersion = 2;
inline constexpr int kBugVersion = 4;
inline constexpr int kStageVersion = PF_Stage_DEVELOP;
inline constexpr int kBuildVersion = 1;
inline constexpr A_u_long kPackedVersion =
    PF_VERSION(kMajorVersion, kMinorVersion, kBugVersion, kStageVersion, kBuildVersion);
static_assert(kPackedVersion == 0x00092001);

// Effect API version the effect is written against.
inline constexpr int kApiMajor = 13;
inline constexpr int kApiMinor = 25;
// What the property list says in its info flags and reserved-info entries, and
// what PluginDataEntryFunction passes as reserved info.
inline constexpr A_u_short kPiPLVersionMajor = 2;
inline constexpr A_u_short kPiPLVersionMinor = 0;
inline constexpr A_u_short kInfoFlags = 0;
inline constexpr A_u_long kPiPLReservedInfo = 0;
inline constexpr A_long kPluginDataReservedInfo = 8;

inline constexpr A_long kOutFlags = PF_OutFlag_SEND_UPDATE_PARAMS_UI;
inline constexpr A_long kOutFlags2 = PF_OutFlag2_PARAM_GROUP_START_COLLAPSED_FLAG | PF_OutFlag2_SUPPORTS_SMART_RENDER |
                                     PF_OutFlag2_FLOAT_COLOR_AWARE | PF_OutFlag2_SUPPORTS_THREADED_RENDERING;
static_assert(kOutFlags == 0x04000000);
static_assert(kOutFlags2 == 0x08001408);

}  // namespace identity
