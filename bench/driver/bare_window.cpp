// The yardstick of the driver's start-up benchmark: a bare Qt Widgets program that shows one
// window. It prints "READY" once the window has been painted, then waits to be ended.
#include <QApplication>
#include <QWidget>
#include <cstdio>

namespace {

class BareWindow : public QWidget {
  protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        if (!painted_) {
            painted_ = true;
            std::printf("READY\n");
            std::fflush(stdout);
        }
    }

  private:
    bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    BareWindow window;
    window.resize(800, 500);
    window.show();
    return QApplication::exec();
}
