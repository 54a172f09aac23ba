#pragma once
// The run's message boxes as Windows shows them: the general error box and
// the one question, both captioned "Dealwarden"; events go on beneath both.
#include "run/message_boxes.h"

namespace dw {

class Win32MessageBoxes final : public IMessageBoxes {
public:
    void ShowError(const std::wstring& message) override;
    bool AskYesNo(const std::wstring& text) override;
};

}  // namespace dw
