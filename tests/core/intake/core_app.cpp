// The worker pool answers through an event loop, which needs an application object.
#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

class CoreApplication : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_intake";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            m_app = new QCoreApplication(argc, argv);
    }
    void TearDown() override {
        delete m_app;
        m_app = nullptr;
    }

private:
    QCoreApplication *m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment *const environment =
    ::testing::AddGlobalTestEnvironment(new CoreApplication);

} // namespace
