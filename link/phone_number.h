// The phone-number setting: "network restart 1" sent until the phone answers
// "result command 0", five attempts at most.
#pragma once

#include "operation.h"

#include <string>

namespace tarvo {

inline constexpr const char* kPhoneNumberCommand = "network restart 1";
inline constexpr int kPhoneNumberAttempts = 5;
inline constexpr int kPhoneNumberResultTimeouts = 2;

// Returns true when the phone accepted the command. Reports status 107 or 120
// and then OnDone with the outcome.
bool RunPhoneNumber(OperationContext& context, const std::string& command);

}  // namespace tarvo
