#include <string>

#include "host/four_char_code.h"
#include "host/handlers.h"
#include "host/identity.h"
#include "host/suite_handler.h"

namespace {
constexpr A_long kPremiereProApplId = static_cast<A_long>(fourCharCode('P', 'r', 'M', 'r'));

std::string aboutText() {
    return std::string(identity::kName) + " v" + std::to_string(identity::kMajorVersion) + "." +
           std::to_string(identity::kMinorVersion) + "." + std::to_string(identity::kBugVersion) + "\n" +
           identity::kDescription + "\n";
}
}  // namespace

PF_Err About(PF_InData* in_data, PF_OutData* out_data) {
    // Premiere Pro shows its own about box.
    if (in_data->appl_id == kPremiereProApplId) {
        return PF_Err_NONE;
    }
    AEGP_SuiteHandler suites(in_data->pica_basicP);
    const std::string text = aboutText();
    static_assert(sizeof(out_data->return_msg) == PF_MAX_EFFECT_MSG_LEN + 1);
    // The text is the format: it holds no '%', and fits the 256-byte buffer.
    suites.ANSICallbacksSuite1()->sprintf(out_data->return_msg, text.c_str());
    return PF_Err_NONE;
}
