#include "acquisition/reqbyweb.h"

#include "platform/optionalhooks.h"

namespace brevanto {

void ReqByWebClick(bool checked, EventSink& events, const ReqByWebHooks& hooks) {
    if (checked) {
        if (holds(hooks.autoReConnect)) {
            events.WriteEvent(
                "**Warning** by selecting the option *requested by web* the option "
                "*AutoReconnect* has been disabled.");
            callIfSet(hooks.setAutoReConnect, false);
        }
        events.WriteEvent("Setting RequestByWeb option.");
    } else {
        if (holds(hooks.rememberedAutoReConnect)) {
            callIfSet(hooks.checkDialogReconnect, true);
            callIfSet(hooks.setAutoReConnect, true);
        }
        if (hooks.resumeReader) {
            hooks.resumeReader();
        }
        events.WriteEvent("Leaving RequestByWeb option.");
    }
    callIfSet(hooks.storeReqByWeb, checked);
}

}  // namespace brevanto
