// What the effect answers when one host call fails, per command and host
// function: the injected code, a missing-suite code, or success where the
// failure is not the effect's to report.
#pragma once

#include <optional>
#include <string>

#include "AE_Effect.h"

namespace reliability {

// The answer of command cmd when the n-th call (from 1) of function within
// that command answers injected. Nothing when the table does not know the
// function: a new host call must be given its expectation here.
std::optional<PF_Err> expectedAnswer(PF_Cmd cmd, const std::string& function, int n, PF_Err injected);

// Functions that are counted but have no error to answer (sprintf, strcpy).
bool cannotFail(const std::string& function);

// The answer of cmd when the suite (name, version) is missing.
PF_Err expectedWithoutSuite(PF_Cmd cmd, const std::string& name, A_long version, A_short api_minor);

}  // namespace reliability
