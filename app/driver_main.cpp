// qx480-driver: the tray program. Everything happens in the application object.
#include "app/main_window_port.h"
#include "app/quilvane_app.h"

int main(int argc, char** argv) {
    qx::app::CQuilvaneApp theApp(argc, argv);
    theApp.InitInstance(&qx::app::CreateMainWindow);
    return qx::app::kExitCode;
}
