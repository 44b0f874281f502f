#include "win/message_pump.h"

std::optional<int> PumpWaitingMessages(const std::function<bool(MSG& message)>& preTranslate) {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
    if (preTranslate && preTranslate(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return std::nullopt;
}
