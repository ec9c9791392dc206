#include "phone_number.h"

#include "line_exchange.h"

namespace tarvo {

bool RunPhoneNumber(OperationContext& context, const std::string& command) {
    if (command.empty()) return false;
    LineExchange lines(context.port, context.cancel, context.clock);
    if (context.purgeFirst) context.port.Purge();
    lines.Send(PhoneNumberInitLine());

    const std::string line = CommandLine(command);
    bool accepted = false;
    for (int attempt = 0; attempt < kPhoneNumberAttempts && !context.cancel.load(); ++attempt) {
        lines.Send(line);
        if (lines.WaitResult("command", 0, kPhoneNumberResultTimeouts) == 0) {
            accepted = true;
            break;
        }
    }
    if (context.cancel.load()) return false;
    context.observer.OnStatus(accepted ? kStatusSuccess : kStatusPhoneNoResponse);
    context.clock.Sleep(context.finalPause);
    context.observer.OnDone(accepted);
    return accepted;
}

}  // namespace tarvo
