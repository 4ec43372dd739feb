// Image buttons: where their faces come from, which sheet each state draws, captions, frames,
// tooltips and clicks; and the placement readers that put them in their windows.
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include "skin/placement.h"
#include "skin/png_button.h"
#include "skin/skin_font.h"
#include "skin_test_support.h"

using namespace qx::skin;
using qx::skin::test::CodedImage;
using qx::skin::test::CodedPixel;
using qx::skin::test::Filled;
using qx::skin::test::SkinFolder;

namespace {

const QSize kWindow(200, 120);

QRgb ShownPixel(CPngButton& button, QPoint at = QPoint(3, 3)) {
    return button.grab().toImage().pixel(at);
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at) {
    QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

}  // namespace

class PngButtonTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        normal_ = BuildSkinSheet(Filled(kWindow, Qt::white), kWindow);
        over_ = BuildSkinSheet(Filled(kWindow, Qt::green), kWindow);
        down_ = BuildSkinSheet(Filled(kWindow, Qt::blue), kWindow);
        disable_ = BuildSkinSheet(Filled(kWindow, Qt::gray), kWindow);
        marked_ = BuildSkinSheet(Filled(kWindow, Qt::red), kWindow);
        toggleA_ = BuildSkinSheet(Filled(kWindow, Qt::cyan), kWindow);
        toggleB_ = BuildSkinSheet(Filled(kWindow, Qt::magenta), kWindow);
    }

    void sheetIsHundredPixelsLargerAndBlankOutsideThePicture() {
        const SkinSheet sheet = BuildSkinSheet(Filled(QSize(50, 40), Qt::white), QSize(300, 200));
        QCOMPARE(sheet.Size(), QSize(400, 300));
        const QImage pixels = sheet.ToImage();
        QCOMPARE(pixels.pixel(49, 39), qRgb(255, 255, 255));
        QCOMPARE(pixels.pixel(50, 39), qRgb(0, 0, 0));
        QCOMPARE(BuildSkinSheet(QImage(), QSize(10, 10)).ToImage().pixel(5, 5), qRgb(0, 0, 0));
    }

    void placedButtonShowsTheSheetOnePixelUpAndLeft() {
        SkinFolder folder;
        folder.WriteText("Main.ini", "[BUTTONINFO]\nCONTROL_OK=10,20,80,24\n");
        const SkinSheet coded = BuildSkinSheet(CodedImage(kWindow), kWindow);
        QWidget window;
        window.resize(kWindow);
        CPngButton button(&window);
        const SkinRect rect = PlaceImageButton(button, folder.File("Main.ini"), "CONTROL_OK",
                                               SheetSet{&coded, &coded, &coded, &coded, &coded});
        QCOMPARE(rect, (SkinRect{10, 20, 80, 24, 4}));
        QCOMPARE(button.geometry(), QRect(10, 20, 80, 24));
        QVERIFY(button.isEnabled());
        QCOMPARE(button.SourcePoint(), QPoint(10, 20));
        const QImage face = button.grab().toImage();
        QCOMPARE(face.size(), QSize(80, 24));
        QCOMPARE(face.pixel(0, 0), CodedPixel(9, 19));
        QCOMPARE(face.pixel(79, 23), CodedPixel(88, 42));
        QCOMPARE(face.pixel(40, 12), CodedPixel(49, 31));
        QCOMPARE(SheetSourceRect(QPoint(10, 20), QSize(80, 24)), QRect(9, 19, 80, 24));
    }

    void placementReadersApplyTheDefaultWhenAKeyIsMissing() {
        SkinFolder folder;
        folder.WriteText("Profile.ini",
                         "[BUTTONINFO]\nFUNC_ADD=1,1,80,24\nLIST=30,40,50,60\n"
                         "[BUTTONINFO2]\nUP_ARROW_LEFT1=5,6\n");
        const std::string ini = folder.File("Profile.ini");
        QWidget window;
        CPngButton add(&window);
        PlaceImageButton(add, ini, "FUNC_ADD", SheetSet{&normal_});
        QCOMPARE(add.geometry(), QRect(1, 1, 80, 24));
        QVERIFY(!add.isEnabled());
        CPngButton missing(&window);
        PlaceImageButton(missing, ini, "FUNC_LOAD", SheetSet{&normal_});
        QCOMPARE(missing.geometry(), QRect(1, 1, 1, 1));
        QVERIFY(!missing.isEnabled());
        QWidget plain(&window);
        PlaceControl(plain, ini, "NOT_THERE");
        QCOMPARE(plain.geometry(), QRect(1, 1, 1, 1));
        QVERIFY(plain.isEnabled());
        QWidget moved(&window);
        moved.resize(33, 44);
        MoveControl(moved, ini, "LIST");
        QCOMPARE(moved.geometry(), QRect(30, 40, 33, 44));
        MoveControl(moved, ini, "NOT_THERE");
        QCOMPARE(moved.geometry(), QRect(1, 1, 33, 44));
        // A missing INI file is a missing key.
        QWidget nowhere(&window);
        PlaceControl(nowhere, folder.File("none.ini"), "LIST");
        QCOMPARE(nowhere.geometry(), QRect(1, 1, 1, 1));
    }

    void arrowButtonCutsAllFacesFromItsSheetPoint() {
        SkinFolder folder;
        folder.WriteText("Main.ini",
                         "[BUTTONINFO]\nLEFT_ARROW=50,60,20,10\n"
                         "[BUTTONINFO2]\nUP_ARROW_LEFT1=5,6,999,999\n");
        const SkinSheet coded = BuildSkinSheet(CodedImage(kWindow), kWindow);
        QWidget window;
        CPngButton arrow(&window);
        PlaceArrowButton(arrow, folder.File("Main.ini"), "LEFT_ARROW", "UP_ARROW_LEFT1", &coded);
        QCOMPARE(arrow.geometry(), QRect(50, 60, 20, 10));
        QCOMPARE(arrow.SourcePoint(), QPoint(5, 6));
        QCOMPARE(arrow.Sheets().normal, &coded);
        QCOMPARE(arrow.Sheets().marked, &coded);
        QCOMPARE(ShownPixel(arrow, QPoint(0, 0)), CodedPixel(4, 5));
    }

    void stateRulesPickTheFirstMatchingSheet() {
        ButtonState disabledToggle{false, true, 1, true, true, true};
        QCOMPARE(ChooseFace(disabledToggle), (FaceChoice{SheetSlot::Disable, ColourSlot::Disable}));
        QCOMPARE(ChooseFace(ButtonState{true, true, 1, true, true, true}),
                 (FaceChoice{SheetSlot::ToggleB, ColourSlot::Normal}));
        QCOMPARE(ChooseFace(ButtonState{true, true, 0, false, false, false}),
                 (FaceChoice{SheetSlot::ToggleA, ColourSlot::Normal}));
        QCOMPARE(ChooseFace(ButtonState{true, false, 0, true, true, true}),
                 (FaceChoice{SheetSlot::Down, ColourSlot::Down}));
        QCOMPARE(ChooseFace(ButtonState{true, false, 0, false, true, true}),
                 (FaceChoice{SheetSlot::Over, ColourSlot::Over}));
        QCOMPARE(ChooseFace(ButtonState{true, false, 0, false, false, true}),
                 (FaceChoice{SheetSlot::Marked, ColourSlot::Marked}));
        QCOMPARE(ChooseFace(ButtonState{}), (FaceChoice{SheetSlot::Normal, ColourSlot::Normal}));
    }

    void drawnFaceFollowsTheButtonsState() {
        QWidget window;
        CPngButton button(&window);
        button.setGeometry(10, 10, 20, 20);
        button.SetSheets(10, 10, Sheets());
        QCOMPARE(ShownPixel(button), qRgb(255, 255, 255));
        QCOMPARE(button.ShownSheet(), &normal_);
        // Pressed and marked: the down sheet; released: the marked sheet.
        button.SetMarked(true);
        button.setDown(true);
        QCOMPARE(ShownPixel(button), QColor(Qt::blue).rgb());
        button.setDown(false);
        QCOMPARE(ShownPixel(button), QColor(Qt::red).rgb());
        // Disabled in toggle mode: the disable sheet.
        button.SetToggleSheets(&toggleA_, &toggleB_, true, 1);
        QCOMPARE(ShownPixel(button), QColor(Qt::magenta).rgb());
        button.setEnabled(false);
        QCOMPARE(ShownPixel(button), QColor(Qt::gray).rgb());
        button.setEnabled(true);
        button.SetToggleSheets(&toggleA_, &toggleB_, true, 0);
        QCOMPARE(ShownPixel(button), QColor(Qt::cyan).rgb());
        // A state whose sheet is none draws nothing of a sheet.
        button.SetToggleSheets(nullptr, nullptr, false, 0);
        button.SetSheetsOnly(SheetSet{&normal_, &over_, &down_, &disable_, nullptr});
        QCOMPARE(button.SheetOf(button.CurrentFace().sheet), nullptr);
        button.grab();
        QCOMPARE(button.ShownSheet(), nullptr);
    }

    void setSheetsClearsPressAndHover() {
        QWidget window;
        CPngButton button(&window);
        button.resize(10, 10);
        button.setDown(true);
        button.SetSheets(4, 5, Sheets());
        QVERIFY(!button.isDown());
        QVERIFY(!button.IsHover());
        QVERIFY(!button.IsTracking());
    }

    void hoverShowsTheOverSheetUntilTheMouseLeaves() {
        QWidget window;
        CPngButton button(&window);
        button.setGeometry(0, 0, 20, 20);
        button.SetSheets(1, 1, Sheets());
        button.SetTooltip(QStringLiteral("Left Ctrl"), true);
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(&button, &enter);
        QVERIFY(button.IsTracking());
        QTRY_VERIFY(button.IsHover());
        QCOMPARE(ShownPixel(button), QColor(Qt::green).rgb());
        // The tooltip was made anew on hover, active, with the stored text.
        QVERIFY(button.HasTooltip());
        QVERIFY(button.IsTooltipActive());
        QCOMPARE(button.TooltipText(), QStringLiteral("Left Ctrl"));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
        QVERIFY(!button.IsHover());
        QVERIFY(!button.IsTracking());
        QCOMPARE(ShownPixel(button), qRgb(255, 255, 255));
    }

    void doubleClickGivesTwoButtonCommands() {
        QWidget window;
        CPngButton button(&window);
        button.setGeometry(0, 0, 30, 20);
        QSignalSpy clicks(&button, &QAbstractButton::clicked);
        const QPoint at(10, 10);
        SendMouse(button, QEvent::MouseButtonPress, at);
        SendMouse(button, QEvent::MouseButtonRelease, at);
        SendMouse(button, QEvent::MouseButtonDblClick, at);
        SendMouse(button, QEvent::MouseButtonRelease, at);
        QCOMPARE(clicks.count(), 2);
    }

    void frameModeKeepsLevelsUpToHundred() {
        CPngButton button;
        button.SetFrameMode(0xFFFFFF, 250, true);
        QCOMPARE(button.FrameLevel(), 100);
        QVERIFY(button.IsFrameMode());
        // Without the flag the level is stored as given.
        button.SetFrameMode(0, 250, false);
        QCOMPARE(button.FrameLevel(), 250);
        QVERIFY(!button.IsFrameMode());
    }

    void frameModeDrawsAnOutlineInsteadOfThePicture() {
        QWidget window;
        window.resize(kWindow);
        CPngButton button(&window);
        button.setGeometry(10, 10, 40, 30);
        button.SetSheets(10, 10, Sheets());
        button.SetFrameMode(0x0000FF, 50, true);  // red (0x00BBGGRR)
        const QImage face = window.grab(QRect(10, 10, 40, 30)).toImage();
        QCOMPARE(face.pixel(1, 15), qRgb(255, 0, 0));
        QCOMPARE(face.pixel(20, 28), qRgb(255, 0, 0));
        QVERIFY(face.pixel(20, 15) != qRgb(255, 255, 255));
    }

    void tooltipNeedsTextAndUsesThreeHundredMilliseconds() {
        CPngButton button;
        button.SetTooltip(QString(), true);
        QVERIFY(!button.HasTooltip());
        button.SetTooltip(QStringLiteral("A"), false);
        QVERIFY(button.HasTooltip());
        QVERIFY(!button.IsTooltipActive());
        QCOMPARE(button.TooltipDelayMs(), 300);
        button.SetTooltip(QStringLiteral("B"), true);
        QCOMPARE(button.TooltipText(), QStringLiteral("B"));
        QVERIFY(button.IsTooltipActive());
    }

    void drawCallbackTellsWhetherTheNormalSheetWasShown() {
        QWidget window;
        CPngButton button(&window);
        button.resize(10, 10);
        button.SetSheets(1, 1, Sheets());
        QList<bool> calls;
        button.SetDrawCallback(
            [&calls](CPngButton& /*self*/, bool shownIsNormal) { calls.append(shownIsNormal); });
        button.grab();
        button.SetMarked(true);
        button.grab();
        QCOMPARE(calls, (QList<bool>{true, false}));
    }

    void centreRotatedTextLayout() {
        // A 60 × 14 text at 90° in a 20 × 100 button: left 10 − 7, bottom 100 − 20.
        const TextBox box = LayoutTextBox(QSize(20, 100), {}, 900, true, QSize(60, 14));
        QCOMPARE(box.left, 3);
        QCOMPARE(box.bottom, 80);
        QCOMPARE(box.top, 0);
        QCOMPARE(box.right, 20);
        QCOMPARE(RotatedTextOrigin(box, 900, 14), QPoint(3, 80));
        // Unrotated and centred: the text's cell is centred in the button.
        const TextBox flat = LayoutTextBox(QSize(100, 40), {}, 0, true, QSize(60, 14));
        QCOMPARE(flat.left, 20);
        QCOMPARE(flat.bottom, 27);
        QCOMPARE(RotatedTextOrigin(flat, 0, 14), QPoint(20, 13));
        // Without the flag only the margins move the rectangle.
        const TextBox margins =
            LayoutTextBox(QSize(80, 24), TextMargins{2, -3, 4, -5}, 900, false, QSize(60, 14));
        QCOMPARE(margins, (TextBox{2, 4, 77, 19}));
    }

    void captionFontAndFormat() {
        QCOMPARE(MulDiv(10, 96, 72), 13);
        QCOMPARE(MulDiv(9, 96, 72), 12);
        QCOMPARE(MulDiv(-10, 96, 72), -13);
        QCOMPARE(MulDiv(3, 1, 2), 2);
        QCOMPARE(MulDiv(-3, 1, 2), -2);
        QCOMPARE(MulDiv(1, 1, 0), -1);
        const int flags = QtFlagsOfTextFormat(kDefaultTextFormat);
        QCOMPARE(kDefaultTextFormat, 37U);
        QVERIFY((flags & Qt::AlignHCenter) != 0);
        QVERIFY((flags & Qt::AlignVCenter) != 0);
        QVERIFY((flags & Qt::TextSingleLine) != 0);
        QVERIFY((QtFlagsOfTextFormat(kTextRight | kTextBottom | kTextSingleLine) &
                 Qt::AlignBottom) != 0);
        // Without the single-line bit the vertical bits do not apply.
        QVERIFY((QtFlagsOfTextFormat(kTextVCenter | kTextWordBreak) & Qt::AlignTop) != 0);
        QVERIFY((QtFlagsOfTextFormat(kTextVCenter | kTextWordBreak) & Qt::TextWordWrap) != 0);
        QCOMPARE(ColourOfColorRef(0x0000FF), QColor(255, 0, 0));
        QCOMPARE(ColourOfColorRef(0x7F7F7F), QColor(127, 127, 127));
        QCOMPARE(QtWeightOf(956), 956);
        CPngButton button;
        button.SetTextStyle(true, 10, QStringLiteral("Arial Unicode MS"), 0xFFFFFF, 0xFFFFFF,
                            0xFFFFFF, 0x7F7F7F, 0xFFFFFF);
        QCOMPARE(button.CaptionFont().pixelSize(), MulDiv(10, button.logicalDpiY(), 72));
        QCOMPARE(button.CaptionFont().families().first(), QStringLiteral("DejaVu Sans"));
        button.SetTextAngle(900, true);
        QCOMPARE(static_cast<int>(button.CaptionFont().weight()), 956);
    }

    void skinFontsMapSkinFacesAndRoundPoints() {
        const QFont label = MakeSkinFont("Arial Unicode MS", 10.8, 96);
        QCOMPARE(label.pixelSize(), 14);
        QCOMPARE(label.families().first(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(label.families().last(), QStringLiteral("WenQuanYi Micro Hei"));
        QCOMPARE(MakeSkinFont("Verdana Unicode MS", 8, 96).pixelSize(), 11);
        // A face no skin names is taken as an installed face.
        QCOMPARE(MakeSkinFont("DejaVu Sans Mono", 9, 72).families().first(),
                 QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(static_cast<int>(MakeSkinFont("Tahoma Unicode MS", 9, 96, 956).weight()), 956);
    }

    void captionIsDrawnInTheColourOfTheState() {
        QWidget window;
        CPngButton button(&window);
        button.resize(60, 30);
        button.SetSheets(1, 1, SheetSet{&disable_, &disable_, &disable_, &disable_, &disable_});
        button.setText(QStringLiteral("\u2588\u2588\u2588"));
        button.SetTextStyle(true, 20, QStringLiteral("Arial Unicode MS"), 0x0000FF, 0x00FF00,
                            0xFF0000, 0x000000, 0xFFFFFF);
        auto hasColour = [&button](QRgb colour) {
            const QImage face = button.grab().toImage();
            for (int y = 0; y < face.height(); ++y) {
                for (int x = 0; x < face.width(); ++x) {
                    if (face.pixel(x, y) == colour) {
                        return true;
                    }
                }
            }
            return false;
        };
        QVERIFY(hasColour(qRgb(255, 0, 0)));
        button.setDown(true);
        QVERIFY(hasColour(qRgb(0, 0, 255)));
        button.setDown(false);
        button.setEnabled(false);
        QVERIFY(hasColour(qRgb(0, 0, 0)));
    }

  private:
    SheetSet Sheets() { return SheetSet{&normal_, &over_, &down_, &disable_, &marked_}; }

    SkinSheet normal_, over_, down_, disable_, marked_, toggleA_, toggleB_;
};

QTEST_MAIN(PngButtonTest)
#include "tst_png_button.moc"
