#include "host/handlers.h"
#include "host/identity.h"

PF_Err GlobalSetup(PF_OutData* out_data) {
    // Assignments, not additions: whatever bits the host set are replaced.
    // Premiere Pro gets the same words as After Effects.
    out_data->my_version = identity::kPackedVersion;
    out_data->out_flags = identity::kOutFlags;
    out_data->out_flags2 = identity::kOutFlags2;
    return PF_Err_NONE;
}
