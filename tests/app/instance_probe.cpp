// A stand-in driver for the single-instance tests: the real application object and
// single-instance steps, with a main window that only reports what reaches it. It prints
// "READY <pid>" once its window is published (not published with QX_PROBE_UNTAGGED=1),
// "OPEN <code>" and "KILL <code>" for the messages it receives, and ends on 'KILL'.
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <cstdio>
#include <cstdlib>

#include "app/main_window_port.h"
#include "app/quilvane_app.h"
#include "platform/message_window.h"

namespace {

using qx::platform::MessageLParam;
using qx::platform::MessageResult;
using qx::platform::MessageWParam;

class ProbeWindow : public qx::app::MainWindowPort {
  public:
    explicit ProbeWindow(bool startedWithStart) {
        std::printf("START %d\n", startedWithStart ? 1 : 0);
        window_.AddHandler(qx::app::kOpenMessage, [](MessageWParam code, MessageLParam) {
            std::printf("OPEN %08lX\n", static_cast<unsigned long>(code));
            std::fflush(stdout);
            return MessageResult{1};
        });
        window_.AddHandler(qx::app::kKillMessage, [this](MessageWParam code, MessageLParam) {
            std::printf("KILL %08lX\n", static_cast<unsigned long>(code));
            std::fflush(stdout);
            if (code == qx::app::kKillCode) {
                qx::app::CloseInstanceMutex();
                loop_.quit();
            }
            return MessageResult{1};
        });
    }

    int RunModal() override {
        const char* untagged = std::getenv("QX_PROBE_UNTAGGED");
        if (untagged == nullptr || std::string(untagged) != "1") {
            qx::app::PublishInstanceWindow(window_.Target(), qx::app::kMainWindowTag);
        }
        std::printf("READY %d\n", static_cast<int>(::getpid()));
        std::fflush(stdout);
        return loop_.exec();
    }

  private:
    qx::platform::MessageWindow window_;
    QEventLoop loop_;
};

}  // namespace

int main(int argc, char** argv) {
    qx::app::CQuilvaneApp theApp(argc, argv);
    theApp.InitInstance([](const qx::app::MainWindowStart& start) {
        return std::make_unique<ProbeWindow>(start.startedWithStart);
    });
    std::printf("END\n");
    std::fflush(stdout);
    return qx::app::kExitCode;
}
