// The default skin the generator writes into the run-time folder, loaded as the windows load it;
// and the skin check itself, on skins with faults.
#include <QTest>
#include <QWidget>
#include <cmath>
#include <cstdlib>

#include "skin/placement.h"
#include "skin/png_button.h"
#include "skin/skin_check.h"
#include "skin/skin_files.h"
#include "skin/skin_keys.h"
#include "skin_test_support.h"

using namespace qx::skin;
using qx::skin::test::Filled;
using qx::skin::test::SkinFolder;

namespace {

std::string SkinsFolder() {
    const char* runtime = std::getenv("QX_RUNTIME_DIR");
    return std::string(runtime != nullptr ? runtime : ".") + "/Skins/";
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// Mean absolute difference per colour byte of two pictures of the same size.
double MeanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

double MeanBlue(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            sum += qBlue(image.pixel(x, y));
        }
    }
    return sum / (image.width() * image.height());
}

}  // namespace

class DefaultSkinTest : public QObject {
    Q_OBJECT

  private slots:
    void everyWindowLoadsCleanly_data() {
        QTest::addColumn<int>("window");
        QTest::newRow("Main.ini") << 0;
        QTest::newRow("Profile.ini") << 1;
        QTest::newRow("UpdateDlg.ini") << 2;
        QTest::newRow("Composite.ini") << 3;
    }

    void everyWindowLoadsCleanly() {
        QFETCH(int, window);
        const WindowSkinKeys& keys = *AllWindowSkinKeys().at(static_cast<std::size_t>(window));
        const WindowSkinReport report = CheckWindowSkin(SkinsFolder(), keys);
        for (const std::string& problem : report.problems) {
            qWarning("%s", problem.c_str());
        }
        QVERIFY(report.problems.empty());
        QVERIFY(!report.windowSize.isEmpty());
    }

    // A button's face cut from each sheet lines up with the background under it: the sheets are
    // painted one pixel up and left, as buttons cut them.
    void facesLineUpWithTheBackground() {
        const std::string folder = SkinsFolder();
        const std::string ini = folder + std::string(files::kMainIni);
        const QImage background = QImage(Q(folder + "main_bg.jpg"));
        QVERIFY(!background.isNull());
        const SkinSheet normal = BuildSkinSheetFromFile(
            Q(folder + std::string(files::kMainSheets.normal)), background.size());
        QWidget window;
        window.resize(background.size());
        for (const char* key : {"KEY_01E", "FUNC_G1", "CONTROL_OK", "LOCK_NUM", "KEY_FN"}) {
            CPngButton button(&window);
            PlaceImageButton(button, ini, key,
                             SheetSet{&normal, &normal, &normal, &normal, &normal});
            const QImage face = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QImage under =
                background.copy(button.geometry()).convertToFormat(QImage::Format_RGB32);
            QVERIFY2(MeanDifference(face, under) < 3.0, key);
            // One pixel off would show.
            const QImage shifted = background.copy(button.geometry().translated(-1, -1))
                                       .convertToFormat(QImage::Format_RGB32);
            QVERIFY2(MeanDifference(face, shifted) > MeanDifference(face, under), key);
        }
    }

    // The disable sheet is the key buttons' marked sheet: an assigned key shows the accent, and
    // hover and press differ from the normal face.
    void keyStatesReadDistinctly() {
        const std::string folder = SkinsFolder();
        const std::string ini = folder + std::string(files::kMainIni);
        const SkinRect rect = ReadSkinRect(ini, "KEY_01E");
        const QRect face(rect.x - 1, rect.y - 1, rect.w, rect.h);
        auto faceOf = [&folder, &face](std::string_view file) {
            return QImage(Q(folder + std::string(file)))
                .copy(face)
                .convertToFormat(QImage::Format_RGB32);
        };
        const QImage normal = faceOf(files::kMainSheets.normal);
        const QImage assigned = faceOf(files::kMainSheets.disable);
        QVERIFY(MeanBlue(assigned) > MeanBlue(normal) + 80);
        QVERIFY(MeanDifference(faceOf(files::kMainSheets.over), normal) > 5);
        QVERIFY(MeanDifference(faceOf(files::kMainSheets.down), normal) > 5);
        // Apply in the disable sheet is darker than in the normal one.
        const SkinRect apply = ReadSkinRect(ini, "CONTROL2_APPLY");
        const QRect applyFace(apply.x - 1, apply.y - 1, apply.w, apply.h);
        auto applyOf = [&folder, &applyFace](std::string_view file) {
            return QImage(Q(folder + std::string(file))).copy(applyFace);
        };
        QVERIFY(MeanBlue(applyOf(files::kMainSheets.disable)) + 40 <
                MeanBlue(applyOf(files::kMainSheets.normal)));
    }

    void checkFindsFaultsInASkin() {
        SkinFolder folder;
        WindowSkinKeys window{"Test.ini",   {"Main"}, {}, {}, {"state.jpg", "small.jpg"},
                              {"other.bmp"}};
        window.buttonInfo = {
            {"A", ControlRole::Visible, 0, {}, false},
            {"B", ControlRole::Visible, 0, {}, false},
            {"MASK", ControlRole::Mask, 0, {}, false},
            {"H1", ControlRole::AlwaysHidden, 0, {}, false},
            {"H2", ControlRole::AlwaysHidden, 0, {}, false},
            {"P1", ControlRole::Page, 1, {}, false},
            {"P2", ControlRole::Page, 2, {}, false},
            {"A2", ControlRole::AlternativePlace, 0, "A", false},
            {"OUT", ControlRole::Visible, 0, {}, false},
            {"GONE", ControlRole::Visible, 0, {}, false},
            {"EXTRA", ControlRole::Visible, 0, {}, true},
            {"UNUSED", ControlRole::Visible, 0, {}, false},
        };
        window.sheetPoints = {{"PT", "A", "state.jpg"}};
        folder.WriteText("Test.ini",
                         "[SCREEN]\nMain=bg.bmp\n[BUTTONINFO]\n"
                         "A=10,10,20,20\nB=25,25,20,20\nMASK=0,0,100,80\n"
                         "H1=60,5,10,10\nH2=62,7,10,10\nP1=60,40,20,20\nP2=65,45,20,20\n"
                         "A2=10,50,1,1\nOUT=90,70,20,20\nUNUSED=1,1,5,5\n"
                         "[BUTTONINFO2]\nPT=95,5\n");
        folder.WriteImage("bg.bmp", Filled(QSize(100, 80), Qt::black));
        folder.WriteImage("state.jpg", Filled(QSize(100, 80), Qt::black), "JPG");
        folder.WriteImage("small.jpg", Filled(QSize(50, 80), Qt::black), "JPG");
        folder.WriteText("other.bmp", "not a picture");
        const WindowSkinReport report = CheckWindowSkin(folder.Path(), window);
        const std::string all = [&report] {
            std::string text;
            for (const std::string& problem : report.problems) {
                text += problem + "\n";
            }
            return text;
        }();
        auto has = [&all](const char* piece) { return all.find(piece) != std::string::npos; };
        QVERIFY2(has("A: overlaps B"), all.c_str());
        QVERIFY2(has("OUT: leaves the window"), all.c_str());
        QVERIFY2(has("GONE: missing"), all.c_str());
        QVERIFY2(has("UNUSED: starts with 1,1"), all.c_str());
        QVERIFY2(has("PT: face leaves"), all.c_str());
        QVERIFY2(has("small.jpg: not the size"), all.c_str());
        QVERIFY2(has("other.bmp: does not decode"), all.c_str());
        // The mask, hidden controls, pages and a control's own places may share space;
        // an optional key may be missing.
        QVERIFY2(!has("MASK"), all.c_str());
        QVERIFY2(!has("H1"), all.c_str());
        QVERIFY2(!has("P1"), all.c_str());
        QVERIFY2(!has("A2"), all.c_str());
        QVERIFY2(!has("EXTRA"), all.c_str());
        QCOMPARE(report.problems.size(), std::size_t{7});
        // An alternative place keeps its primary's size.
        QCOMPARE(report.placed.at("A2"), QRect(10, 50, 20, 20));
    }

    void checkReportsAMissingIniFile() {
        SkinFolder folder;
        const WindowSkinReport report = CheckWindowSkin(folder.Path(), ProfileSkinKeys());
        QCOMPARE(report.problems.size(), std::size_t{1});
    }
};

QTEST_MAIN(DefaultSkinTest)
#include "tst_default_skin.moc"
