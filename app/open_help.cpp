#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "app/main_window_port.h"
#include "platform/program_paths.h"

namespace qx::app {

inline constexpr const char* kHelpPage = "index.html";

// The page opens in the desktop's browser. A Windows build passes the text "NULL" as the page's
// parameters; a file URL has no parameters, so there is nothing to pass here.
void OpenHelp() {
    const std::string page = platform::GetProgramPaths().helpFolder + kHelpPage;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(page)));
}

}  // namespace qx::app
