#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "platform/qt/fonts.h"

namespace {

// One QApplication for the whole test program, on the offscreen platform
// and with a configuration directory of its own, so nothing a test writes
// reaches the user's settings.
class QtApplicationEnvironment final : public ::testing::Environment {
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        m_configuration = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", m_configuration->path().toLocal8Bit());
        m_application = std::make_unique<QApplication>(m_argc, m_argv);
        rpn::InstallFontSubstitutions();
    }
    void TearDown() override
    {
        m_application.reset();
        m_configuration.reset();
    }

private:
    int m_argc = 1;
    char m_name[9] = "gui_test";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QTemporaryDir> m_configuration;
    std::unique_ptr<QApplication> m_application;
};

const ::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
