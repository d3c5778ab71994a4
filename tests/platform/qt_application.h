#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

namespace rpn::test {

// Tests of widgets and the clipboard need an application object; each suite
// gets its own, on the offscreen platform whatever the environment says.
class QtApplicationTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // QApplication takes the options it understands out of argv, and
        // keeps referring to both for its life.
        static int argc;
        static char name[] = "platform_tests";
        static char option[] = "-platform";
        static char platform[] = "offscreen";
        static char* argv[4];
        argc = 3;
        argv[0] = name;
        argv[1] = option;
        argv[2] = platform;
        argv[3] = nullptr;
        s_application = std::make_unique<QApplication>(argc, argv);
    }
    static void TearDownTestSuite() { s_application.reset(); }

    // Runs action on the modal window once it is up, from the event loop of
    // whatever opened it. A window that never turns up fails the test and
    // closes every window so the caller's exec returns.
    static void WhenModal(std::function<void(QWidget&)> action, int attempts = 500)
    {
        QTimer::singleShot(1, [action = std::move(action), attempts]() mutable {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                action(*modal);
            } else if (attempts > 0) {
                WhenModal(std::move(action), attempts - 1);
            } else {
                ADD_FAILURE() << "no modal window appeared";
                QApplication::closeAllWindows();
            }
        });
    }

private:
    static inline std::unique_ptr<QApplication> s_application;
};

}  // namespace rpn::test
