#pragma once
// Windows only: loads a {{batch gui}} form with Tavrel's own loader, which
// runs its script through the command interpreter and parses the output.
// Nobody watches a checker's run to cancel it: the script has a time limit.

#include <string>

#include "formdef/BatchScriptRun.h"

class CFormModel;

// Stops a script once it has run for the limit.
class BatchTimeLimit : public BatchScriptWatch {
public:
    explicit BatchTimeLimit(DWORD limitMs) : m_limitMs(limitMs) {}
    bool KeepRunning(DWORD elapsedMs, size_t) override
    {
        m_timedOut = m_timedOut || elapsedMs >= m_limitMs;
        return !m_timedOut;
    }
    bool TimedOut() const { return m_timedOut; }
    void Reset() { m_timedOut = false; }

private:
    DWORD m_limitMs;
    bool m_timedOut = false;
};

bool RunBatchFormAsTavrel(CFormModel& model, const std::string& path, BatchTimeLimit& limit);
