#include "record/portable_profile.h"
#include "tests/record/settings_faults_cases.h"

namespace dw::settings_test {
INSTANTIATE_TYPED_TEST_SUITE_P(Portable, DamagedSettingsFileTest, PortableProfileFiles);
}  // namespace dw::settings_test
