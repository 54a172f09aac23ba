#include "record/app_error.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace dw {
namespace {

TEST(ErrorBoxTextTest, AppendsAPeriodUnlessTheLastCharacterIsAPeriodOrBelowIt) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"クリップボード アクセスが拒否されました を開けません",
         L"クリップボード アクセスが拒否されました を開けません."},
        {L"done.", L"done."},
        {L"why?", L"why?."},    // '?' comes after '.'
        {L"50%", L"50%"},       // '%' comes before '.'
        {L"a-", L"a-"},         // '-' comes before '.'
        {L"path/", L"path/."},  // '/' comes after '.'
        {L"", L"."},
    };
    for (const auto& [message, text] : cases)
        EXPECT_EQ(ErrorBoxText(message), text) << message.size();
}

}  // namespace
}  // namespace dw
