// What both transfer directions do alike: watch the cancel flag, report
// status, keep a failure readable, and open the exchange.
#pragma once

#include "operation.h"

namespace tarvo {

class TransferSteps {
protected:
    explicit TransferSteps(OperationContext& context) : m_context(context) {}

    bool Cancelled() const { return m_context.cancel.load(); }
    void Status(int id) { m_context.observer.OnStatus(id); }

    // A final status stays readable for a while before the operation ends.
    void Fail(int statusId) {
        Status(statusId);
        m_context.clock.Sleep(m_context.finalPause);
    }

    // Pending bytes in both directions are dropped before the exchange starts.
    void OpenExchange() {
        if (m_context.purgeFirst) m_context.port.Purge();
        Status(kStatusWaitSync);
    }

    OperationContext& m_context;
};

}  // namespace tarvo
