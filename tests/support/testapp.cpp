// One QApplication (offscreen platform) for a whole test program, made before the first test.
#include <gtest/gtest.h>

#include <QApplication>

namespace {

class AppEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "trv_tests";
        static char *argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
    }
    void TearDown() override
    {
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication *m_app = nullptr;
};

const auto *const g_env = ::testing::AddGlobalTestEnvironment(new AppEnvironment);

} // namespace
