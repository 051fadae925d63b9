#include "platform/Dialogs.h"

#include "platform/ScriptedDialogs.h"

namespace vastel {

namespace {
Dialogs* g_dialogs = nullptr;

// Used before anything is installed: records and declines, so nothing proceeds unasked.
Dialogs& fallback() {
    static ScriptedDialogs declining(false);
    return declining;
}
}  // namespace

Dialogs& dialogs() { return g_dialogs ? *g_dialogs : fallback(); }

void setDialogs(Dialogs* implementation) { g_dialogs = implementation; }

bool confirmed(Answer answer) { return answer == Answer::Yes || answer == Answer::Ok; }

}  // namespace vastel
