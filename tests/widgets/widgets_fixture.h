// A QApplication on the offscreen platform and the run-time folder's language files, for the
// widget tests.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QInputDevice>
#include <QPointingDevice>
#include <cstdlib>

#include "platform/program_paths.h"

namespace qx::widgets::testing {

class WidgetTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (QCoreApplication::instance() == nullptr) {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            static int argc = 1;
            static char name[] = "widgets_test";
            static char* argv[] = {name, nullptr};
            // Ended at exit, before the static objects of the libraries it loaded. The input
            // devices' registry is made first, so that it outlives the application.
            static QApplication* app = nullptr;
            app = new QApplication(argc, argv);
            QInputDevice::primaryKeyboard();
            QPointingDevice::primaryPointingDevice();
            std::atexit([] { delete app; });
            app->setQuitOnLastWindowClosed(false);
        }
        platform::SetProgramFolder(QX_TEST_RUNTIME_DIR);
    }

    template <class Predicate>
    static bool ProcessUntil(Predicate done, int limitMs = 5000) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < limitMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return done();
    }
};

}  // namespace qx::widgets::testing
