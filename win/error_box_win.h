#pragma once
#include <string>

namespace dw {

// The general error box: error icon, one OK, captioned with the application
// title. Events and timer ticks go on beneath it. The same message is not
// stacked while its box is still open (a tick failing every second would
// otherwise pile up boxes).
void ShowGeneralErrorBox(const std::wstring& message);

}  // namespace dw
