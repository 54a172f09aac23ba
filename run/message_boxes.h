#pragma once
// The message boxes the run shows, behind a seam so its decisions are
// tested without Windows.
#include <string>

namespace dw {

class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    // The general error box: error icon, one OK. Returns when it is closed;
    // the same message is not stacked while its box is still open.
    virtual void ShowError(const std::wstring& message) = 0;
    // Error icon, Yes and No with No the default; true for Yes.
    virtual bool AskYesNo(const std::wstring& text) = 0;
};

}  // namespace dw
