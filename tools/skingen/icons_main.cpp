// qx480-icongen: paints the program's icon for the desktop's menus and software centres, in the
// freedesktop icon theme layout, at the sizes desktops look for. The pictures are the icon the
// program's own windows show, painted by the same code in the skin's colours.
//
//   qx480-icongen --out <folder> --name <icon name>
//       writes <folder>/<N>x<N>/apps/<icon name>.png for every size
//
// Run with QT_QPA_PLATFORM=offscreen where there is no display.
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QStringList>
#include <array>
#include <cstdio>

#include "widgets/program_icons.h"

namespace {

// The sizes of the theme's fixed-size folders that menus, panels and software centres use.
constexpr std::array kIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

int WriteIcons(const QString& folder, const QString& name) {
    for (const int size : kIconSizes) {
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        const QString file = apps + QLatin1Char('/') + name + QStringLiteral(".png");
        const QPixmap picture = qx::widgets::PaintProgramIcon(qx::widgets::kProgramIconId, size);
        if (!QDir().mkpath(apps) || picture.isNull() || !picture.save(file, "PNG")) {
            std::fprintf(stderr, "qx480-icongen: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    auto value = [&args](const QString& option) {
        const auto at = args.indexOf(option);
        return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
    };
    const QString out = value(QStringLiteral("--out"));
    const QString name = value(QStringLiteral("--name"));
    if (out.isEmpty() || name.isEmpty()) {
        std::fprintf(stderr, "usage: qx480-icongen --out <folder> --name <icon name>\n");
        return 2;
    }
    return WriteIcons(out, name);
}
