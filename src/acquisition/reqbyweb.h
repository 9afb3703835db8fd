// The "Read variables only when requested by web" box: reading on request
// and the reconnect watchdog exclude each other, so checking the box turns
// AutoReConnect off and clearing it brings back what the settings said.
#pragma once

#include <functional>

#include "platform/eventsink.h"

namespace brevanto {

struct ReqByWebHooks {
    std::function<bool()> autoReConnect;             // the setting now
    std::function<void(bool)> setAutoReConnect;      // the setting
    std::function<bool()> rememberedAutoReConnect;   // as last loaded or applied
    std::function<void(bool)> checkDialogReconnect;  // the dialog's "Auto Reconnect" box
    std::function<void(bool)> storeReqByWeb;         // the setting and the dialog's box
    std::function<void()> resumeReader;              // if it is suspended
};

// `checked` is the box's new state.
void ReqByWebClick(bool checked, EventSink& events, const ReqByWebHooks& hooks);

}  // namespace brevanto
