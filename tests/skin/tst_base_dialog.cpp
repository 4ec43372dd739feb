// The skinned dialog base: pictures from "SCREEN", the window's size and outline, painting,
// dragging, and the end of the program when a window cannot be shown.
#include <QPushButton>
#include <QTest>

#include "skin/base_dialog.h"
#include "skin/picture_file.h"
#include "skin/region_from_mask.h"
#include "skin/skin_sheet.h"
#include "skin_test_support.h"

using namespace qx::skin;
using qx::skin::test::Filled;
using qx::skin::test::SkinFolder;

namespace {

// Whether two regions cover the same pixels, whatever their rectangles.
bool SameArea(const QRegion& a, const QRegion& b) {
    return a.xored(b).isEmpty();
}

QRegion NaiveRegion(const QImage& mask) {
    QRegion region;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            if ((mask.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                region += QRect(x, y, 1, 1);
            }
        }
    }
    return region;
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint local, QPoint global) {
    QMouseEvent event(type, local, global, Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

}  // namespace

class BaseDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        fatalCalls_ = 0;
        SetSkinFatalHandler([this] { ++fatalCalls_; });
    }
    void cleanup() { SetSkinFatalHandler({}); }

    void windowTakesTheBackgroundsSizeAndMissingMaskUsesTheBackground() {
        SkinFolder folder;
        folder.WriteText("UpdateDlg.ini", "[SCREEN]\nMain=bg.bmp\n");
        QImage background = Filled(QSize(400, 300), QColor(10, 20, 30));
        // White corners in the background: with no mask of its own it is the mask.
        for (QPoint corner : {QPoint(0, 0), QPoint(399, 0), QPoint(0, 299), QPoint(399, 299)}) {
            background.setPixel(corner, qRgb(255, 255, 255));
        }
        folder.WriteImage("bg.bmp", background);
        CBaseDialog dialog(149, nullptr, folder.File("UpdateDlg.ini"), folder.Path());
        dialog.resize(800, 600);
        dialog.move(30, 40);
        dialog.EnsureInitialised();
        QCOMPARE(fatalCalls_, 0);
        QCOMPARE(dialog.size(), QSize(400, 300));
        QCOMPARE(dialog.pos(), QPoint(30, 40));
        QVERIFY(dialog.HasBackground());
        QCOMPARE(dialog.MaskSize(), QSize(400, 300));
        QVERIFY(!dialog.mask().contains(QPoint(0, 0)));
        QVERIFY(!dialog.mask().contains(QPoint(399, 299)));
        QVERIFY(dialog.mask().contains(QPoint(1, 0)));
        QCOMPARE(dialog.mask().boundingRect(), QRect(0, 0, 400, 300));
        // The background is the paint.
        QCOMPARE(dialog.grab().toImage().pixel(200, 150), qRgb(10, 20, 30));
    }

    void maskCutsOnlyPureWhite() {
        SkinFolder folder;
        folder.WriteText("Profile.ini", "[SCREEN]\nMain=bg.bmp\nMask=mask.bmp\n");
        folder.WriteImage("bg.bmp", Filled(QSize(40, 30), Qt::black));
        QImage mask = Filled(QSize(40, 30), QColor(254, 254, 254));
        mask.fill(QColor(254, 254, 254));
        for (int y = 5; y < 25; ++y) {
            for (int x = 5; x < 35; ++x) {
                mask.setPixel(x, y, qRgb(255, 255, 255));
            }
        }
        folder.WriteImage("mask.bmp", mask);
        CBaseDialog dialog(131, nullptr, folder.File("Profile.ini"), folder.Path());
        dialog.EnsureInitialised();
        // The light-grey border stays; the white inside is cut.
        QVERIFY(dialog.mask().contains(QPoint(0, 0)));
        QVERIFY(dialog.mask().contains(QPoint(4, 15)));
        QVERIFY(!dialog.mask().contains(QPoint(20, 15)));
        QVERIFY(SameArea(dialog.mask(), QRegion(0, 0, 40, 30).subtracted(QRegion(5, 5, 30, 20))));
    }

    void regionFromMaskRulesAndBatches() {
        // Only the four corners white: cut corners, a rectangular rest.
        QImage corners = Filled(QSize(10, 8), Qt::black);
        for (QPoint corner : {QPoint(0, 0), QPoint(9, 0), QPoint(0, 7), QPoint(9, 7)}) {
            corners.setPixel(corner, qRgb(255, 255, 255));
        }
        const std::optional<QRegion> cut = RegionFromMask(corners);
        QVERIFY(cut.has_value());
        QVERIFY(SameArea(*cut, NaiveRegion(corners)));
        QVERIFY(!cut->contains(QPoint(9, 7)));
        // All white: no region at all; empty picture likewise.
        QVERIFY(!RegionFromMask(Filled(QSize(5, 5), Qt::white)).has_value());
        QVERIFY(!RegionFromMask(QImage()).has_value());
        // Tolerance widens the key colour upwards, capped at 255.
        QVERIFY(IsMaskPixelTransparent(qRgb(254, 254, 254), 0xFEFEFE, 0));
        QVERIFY(!IsMaskPixelTransparent(qRgb(254, 254, 254), 0xFFFFFF, 0));
        QVERIFY(IsMaskPixelTransparent(qRgb(255, 250, 240), 0xF0F0F0, 100));
        QVERIFY(!IsMaskPixelTransparent(qRgb(255, 250, 239), 0xF0F0F0, 100));
        QVERIFY(IsMaskPixelTransparent(qRgb(3, 0, 2), 0x000000, 3));
        // A checkerboard has thousands of runs: several batches of 2000, one union.
        QImage board = Filled(QSize(120, 90), Qt::white);
        for (int y = 0; y < 90; ++y) {
            for (int x = (y % 2); x < 120; x += 2) {
                board.setPixel(x, y, qRgb(0, 0, 0));
            }
        }
        const std::optional<QRegion> checker = RegionFromMask(board);
        QVERIFY(checker.has_value());
        QVERIFY(SameArea(*checker, NaiveRegion(board)));
    }

    void missingOrBrokenPicturesEndTheProgram() {
        SkinFolder folder;
        folder.WriteText("a.ini", "[SCREEN]\nMain=missing.jpg\n");
        folder.WriteText("b.ini", "[SCREEN]\nMask=mask.bmp\n");
        folder.WriteText("c.ini", "[SCREEN]\nMain=bg.bmp\nMask=broken.jpg\n");
        folder.WriteText("broken.jpg", "this is not a picture");
        folder.WriteImage("bg.bmp", Filled(QSize(20, 20), Qt::black));
        folder.WriteImage("mask.bmp", Filled(QSize(20, 20), Qt::black));
        for (const char* ini : {"a.ini", "b.ini", "c.ini"}) {
            fatalCalls_ = 0;
            CBaseDialog dialog(0, nullptr, folder.File(ini), folder.Path());
            dialog.EnsureInitialised();
            QVERIFY2(fatalCalls_ >= 1, ini);
        }
        QVERIFY(LoadPictureFile(QString::fromStdString(folder.File("bg.bmp"))).size() ==
                QSize(20, 20));
        QVERIFY(DecodePictureFile(QString::fromStdString(folder.File("broken.jpg"))).isNull());
    }

    void eachShowingAppliesTheSkinAgainAndClosingReleasesIt() {
        SkinFolder folder;
        folder.WriteText("Profile.ini", "[SCREEN]\nMain=bg.bmp\n");
        folder.WriteImage("bg.bmp", Filled(QSize(50, 40), Qt::black));
        CBaseDialog dialog(131, nullptr, folder.File("Profile.ini"), folder.Path());
        dialog.show();
        QVERIFY(dialog.HasBackground());
        dialog.accept();
        QVERIFY(!dialog.HasBackground());
        folder.WriteImage("bg.bmp", Filled(QSize(60, 45), Qt::black));
        dialog.show();
        QCOMPARE(dialog.size(), QSize(60, 45));
        dialog.reject();
        QVERIFY(!dialog.HasBackground());
    }

    void statePicturesThatDoNotDecodeLeaveABlankSheet() {
        SkinFolder folder;
        folder.WriteText("broken.jpg", "not a picture");
        const SkinSheet missing =
            BuildSkinSheetFromFile(QString::fromStdString(folder.File("none.jpg")), QSize(30, 20));
        const SkinSheet broken = BuildSkinSheetFromFile(
            QString::fromStdString(folder.File("broken.jpg")), QSize(30, 20));
        QCOMPARE(fatalCalls_, 0);
        QCOMPARE(missing.Size(), QSize(130, 120));
        QCOMPARE(broken.ToImage().pixel(10, 10), qRgb(0, 0, 0));
    }

    void pressingTheBackgroundDragsTheWindowButNotAButton() {
        SkinFolder folder;
        folder.WriteText("Main.ini", "[SCREEN]\nMain=bg.bmp\n");
        folder.WriteImage("bg.bmp", Filled(QSize(200, 100), Qt::black));
        CBaseDialog dialog(102, nullptr, folder.File("Main.ini"), folder.Path());
        auto* button = new QPushButton(&dialog);
        button->setGeometry(150, 60, 40, 30);
        dialog.move(100, 100);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QPoint start = dialog.pos();
        const QPoint press(20, 20);
        SendMouse(dialog, QEvent::MouseButtonPress, press, dialog.mapToGlobal(press));
        SendMouse(dialog, QEvent::MouseMove, press + QPoint(30, 15),
                  dialog.mapToGlobal(press) + QPoint(30, 15));
        SendMouse(dialog, QEvent::MouseButtonRelease, press + QPoint(30, 15),
                  dialog.mapToGlobal(press) + QPoint(30, 15));
        QTRY_COMPARE(dialog.pos(), start + QPoint(30, 15));
        const QPoint moved = dialog.pos();
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(button, QPoint(25, 20));
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(25, 20));
        QCOMPARE(dialog.pos(), moved);
    }

  private:
    int fatalCalls_ = 0;
};

QTEST_MAIN(BaseDialogTest)
#include "tst_base_dialog.moc"
