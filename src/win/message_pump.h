#pragma once
// The thread's one way of handling the messages that are waiting while a long operation runs.
#include <windows.h>

#include <functional>
#include <optional>

// Handles every waiting message: each is first offered to preTranslate (which takes it by
// answering true: accelerators, dialog keys), then translated and dispatched. A quit request is
// not handled here: it ends the pumping, and its exit code is returned, for the caller to post it
// again where the thread's own loop will see it.
[[nodiscard]] std::optional<int> PumpWaitingMessages(const std::function<bool(MSG& message)>& preTranslate = {});
