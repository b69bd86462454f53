#include "support/core_app.h"

namespace {

[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new vq::test::CoreApplication("test_intake"));

} // namespace
