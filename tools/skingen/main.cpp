// qx480-skingen: writes the program's default skin and renders its windows to pictures.
//
//   qx480-skingen --out <folder> [--version <text>]     write the skin (INI files and pictures)
//   qx480-skingen --render <folder> [--skins <folder>]   render each window with a skin to PNG
//                                                         (without --skins: a freshly written one)
//
// Run with QT_QPA_PLATFORM=offscreen where there is no display. After writing, the skin is
// loaded and checked as the windows will load it; any problem makes the command fail.
#include <QApplication>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>

#include "layout.h"
#include "qx480_version.h"
#include "render_preview.h"
#include "skin/skin_check.h"
#include "skin/skin_keys.h"
#include "skin_writer.h"

namespace {

using qx::skingen::WindowLayout;

QString FolderArgument(const QString& folder) {
    QString path = QDir(folder).absolutePath();
    if (!path.endsWith(QLatin1Char('/'))) {
        path += QLatin1Char('/');
    }
    return path;
}

int Report(const std::vector<std::string>& problems) {
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "qx480-skingen: %s\n", problem.c_str());
    }
    return problems.empty() ? 0 : 1;
}

int WriteSkin(const QString& folderArgument, const QString& version) {
    const std::string folder = FolderArgument(folderArgument).toStdString();
    if (!QDir().mkpath(QString::fromStdString(folder))) {
        return Report({"cannot create " + folder});
    }
    const std::vector<WindowLayout> windows{
        qx::skingen::MainLayout(version), qx::skingen::ProfileLayout(), qx::skingen::UpdateLayout(),
        qx::skingen::CompositeLayout()};
    std::vector<std::string> problems;
    for (const WindowLayout& layout : windows) {
        const std::vector<std::string> found = qx::skingen::WriteWindowSkin(layout, folder);
        problems.insert(problems.end(), found.begin(), found.end());
    }
    const std::vector<std::string> bitmaps =
        qx::skingen::WriteLightingBitmaps(windows.front(), folder);
    problems.insert(problems.end(), bitmaps.begin(), bitmaps.end());
    for (const qx::skin::WindowSkinKeys* keys : qx::skin::AllWindowSkinKeys()) {
        const qx::skin::WindowSkinReport report = qx::skin::CheckWindowSkin(folder, *keys);
        problems.insert(problems.end(), report.problems.begin(), report.problems.end());
    }
    return Report(problems);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: qx480-skingen --out <folder> [--version <text>]\n"
                 "       qx480-skingen --render <folder> [--skins <folder>]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    auto value = [&args](const QString& name) {
        const auto at = args.indexOf(name);
        return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
    };
    const QString out = value(QStringLiteral("--out"));
    const QString render = value(QStringLiteral("--render"));
    const QString versionArgument = value(QStringLiteral("--version"));
    const QString version =
        versionArgument.isEmpty()
            ? QString::fromUtf8(qx::kProgramVersion.data(),
                                static_cast<qsizetype>(qx::kProgramVersion.size()))
            : versionArgument;
    if (!out.isEmpty()) {
        return WriteSkin(out, version);
    }
    if (!render.isEmpty()) {
        QString skins = value(QStringLiteral("--skins"));
        QTemporaryDir fresh;
        if (skins.isEmpty()) {
            skins = fresh.path();
            const int written = WriteSkin(skins, version);
            if (written != 0) {
                return written;
            }
        }
        if (!QDir().mkpath(render)) {
            return Report({"cannot create " + render.toStdString()});
        }
        return Report(qx::skingen::RenderPreviews(FolderArgument(skins).toStdString(),
                                                  FolderArgument(render).toStdString()));
    }
    return Usage();
}
