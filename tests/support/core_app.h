#pragma once

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace vq::test {

// A QCoreApplication for the whole test program: the probe workers answer through an event loop.
// Register it once per program: ::testing::AddGlobalTestEnvironment(new CoreApplication("name")).
class CoreApplication : public ::testing::Environment {
public:
    explicit CoreApplication(const char *name) : m_name(name) {}
    void SetUp() override {
        static int argc = 1;
        m_argv[0] = m_name.data();
        if (!QCoreApplication::instance())
            m_app = new QCoreApplication(argc, m_argv);
    }
    void TearDown() override {
        delete m_app;
        m_app = nullptr;
    }

private:
    QByteArray m_name;
    char *m_argv[2] = {nullptr, nullptr};
    QCoreApplication *m_app = nullptr;
};

} // namespace vq::test
