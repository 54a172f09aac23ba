#include <windows.h>

#include "record/profile_win.h"
#include "tests/record/settings_faults_cases.h"

namespace dw::settings_test {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, DamagedSettingsFileTest, Win32ProfileFiles);
}  // namespace dw::settings_test
