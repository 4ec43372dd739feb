// A QApplication on the offscreen platform and the run-time folder's language files, for the
// widget tests.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
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
            // Kept to the end of the process: Qt Test's input devices outlive static objects.
            static auto* app = new QApplication(argc, argv);
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
