// The main window's layout from the generated skin: every button where its skin key puts it
// with the sheets of its kind, a missing key leaving its button unused, the flip setting with
// its keys, indicator and arrows, assigned keys drawn from the disable sheet, and the hover
// groups.
#include <QComboBox>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QTest>

#include "keyboard/image_holders.h"
#include "keyboard/key_buttons.h"
#include "lighting/panel/lighting_panel.h"
#include "mainwnd/key_view.h"
#include "mainwnd/link_targets.h"
#include "mainwnd/main_ids.h"
#include "skin/png_button.h"
#include "skin/skin_files.h"
#include "skin/skin_keys.h"
#include "skin/skin_sheet.h"
#include "tests/mainwnd/main_window_harness.h"

using qx::mainwnd::Sheet;
using qx::mainwnd::test::DefaultSkinRect;
using qx::mainwnd::test::HarnessOptions;
using qx::mainwnd::test::MainWindowHarness;
using qx::skin::SheetSlot;
namespace mw = qx::mainwnd;

namespace {

HarnessOptions WithFlip(const std::string& flip) {
    HarnessOptions options;
    options.flip = flip;
    return options;
}

void HoverOver(QWidget* widget) {
    QEnterEvent enter(QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                      widget->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(widget, &enter);
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

void LeaveFrom(QWidget* widget) {
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

QPoint SheetPoint(const std::string& key) {
    return DefaultSkinRect(key, "BUTTONINFO2").topLeft();
}

}  // namespace

class MainLayoutTest : public QObject {
    Q_OBJECT

  private slots:
    void keyboardViewFollowsTheSkin();
    void commandButtonsTakeTheSheetsOfTheirKind();
    void eachSheetShowsItsPictureAndTheSecondSetSharesTheFirst();
    void missingSkinKeyLeavesButtonDisabledAtOneOne();
    void flipOnAtStartEnablesDButtonsAndUsesUpArrows();
    void flipToggleStoresAndAppliesTheInvertedSetting();
    void assignedKeyDrawsFromDisableSheetAndOverWhileHovered();
    void hoveringFlipButtonsShowsSecondArrowFrame();
    void captionsAndVersionLabelTakeTheirTextStyle();
    void linkButtonsOpenTheSkinsTargets();
    void panelShowsOnlyLampWhileSwitchIsOff();
    void panelFollowsTheModeWhileSwitchIsOn();
};

void MainLayoutTest::keyboardViewFollowsTheSkin() {
    MainWindowHarness harness;
    harness.InitialiseOnly();
    mw::CQuilvaneDlg& window = harness.Window();
    for (const qx::keyboard::KeyButton& key : qx::keyboard::KeyButtons()) {
        const QRect rect =
            DefaultSkinRect(qx::skin::KeyButtonSkinKey(qx::keyboard::KeyIndexOfCode(key.keyCode)));
        qx::skin::CPngButton* button = window.Button(key.controlId);
        QCOMPARE(button->geometry(), rect);
        QCOMPARE(button->SourcePoint(), rect.topLeft());
        QCOMPARE(button->SheetOf(SheetSlot::Marked), window.Sheets().Get(Sheet::kDisable));
    }
    for (int g = 0; g < 9; ++g) {
        qx::skin::CPngButton* button = window.Button(qx::keyboard::kGKeyButtonIds[g]);
        QCOMPARE(button->geometry(), DefaultSkinRect(qx::skin::GKeySkinKey(g + 1)));
    }
    QCOMPARE(window.Button(mw::kIdFn)->geometry(), DefaultSkinRect("KEY_FN"));
    const mw::MainSheets& sheets = window.Sheets();
    const qx::skin::SheetSet& key = window.Button(1058)->Sheets();
    QVERIFY(key.normal == sheets.Get(Sheet::kNormal) && key.over == sheets.Get(Sheet::kOver) &&
            key.down == sheets.Get(Sheet::kDown) && key.disable == sheets.Get(Sheet::kNormal));
    // The window is the size of its background, the sheets 100 pixels larger.
    QCOMPARE(window.size(), QSize(1128, 592));
    QCOMPARE(sheets.Get(Sheet::kNormal)->Size(), QSize(1228, 692));
}

// The sheets are made on background threads; whichever thread makes one, each slot shows its own
// picture, and the flip indicator's second set holds the very pixels of the first (no copies).
void MainLayoutTest::eachSheetShowsItsPictureAndTheSecondSetSharesTheFirst() {
    namespace files = qx::skin::files;
    MainWindowHarness harness;
    harness.InitialiseOnly();
    mw::CQuilvaneDlg& window = harness.Window();
    const mw::MainSheets& sheets = window.Sheets();
    const std::vector<std::pair<Sheet, std::string_view>> pictures{
        {Sheet::kNormal, files::kMainSheets.normal},
        {Sheet::kOver, files::kMainSheets.over},
        {Sheet::kDown, files::kMainSheets.down},
        {Sheet::kDisable, files::kMainSheets.disable},
        {Sheet::kNormal2, files::kMainSheets.normal},
        {Sheet::kOver2, files::kMainSheets.over},
        {Sheet::kDown2, files::kMainSheets.down},
        {Sheet::kDisable2, files::kMainSheets.disable},
        {Sheet::kArrow, files::kMainArrowSheet},
        {Sheet::kColour0, files::kMainColour0Sheet},
        {Sheet::kColour1, files::kMainColour1Sheet},
    };
    for (const auto& [sheet, file] : pictures) {
        const QString path = QString::fromStdString(window.SkinFolder() + std::string(file));
        QVERIFY2(
            sheets.Get(sheet)->Covered() == qx::skin::SheetPictureFromFile(path, window.size()),
            file.data());
    }
    const std::vector<std::pair<Sheet, Sheet>> sharing{{Sheet::kNormal, Sheet::kNormal2},
                                                       {Sheet::kOver, Sheet::kOver2},
                                                       {Sheet::kDown, Sheet::kDown2},
                                                       {Sheet::kDisable, Sheet::kDisable2}};
    for (const auto& [first, second] : sharing) {
        QVERIFY(sheets.Get(first) != sheets.Get(second));
        QCOMPARE(sheets.Get(second)->Covered().constBits(),
                 sheets.Get(first)->Covered().constBits());
    }
    QVERIFY(sheets.Get(Sheet::kNormal)->Covered().constBits() !=
            sheets.Get(Sheet::kOver)->Covered().constBits());
}

void MainLayoutTest::commandButtonsTakeTheSheetsOfTheirKind() {
    MainWindowHarness harness;
    harness.InitialiseOnly();
    mw::CQuilvaneDlg& window = harness.Window();
    const mw::MainSheets& sheets = window.Sheets();
    auto sheetsOf = [&](int id) {
        const qx::skin::SheetSet& set = window.Button(id)->Sheets();
        return std::vector<const qx::skin::SkinSheet*>{set.normal, set.over, set.down, set.disable,
                                                       set.marked};
    };
    auto expect = [&](mw::SheetPattern pattern) {
        return std::vector<const qx::skin::SkinSheet*>{
            sheets.Get(pattern.normal), sheets.Get(pattern.over), sheets.Get(pattern.down),
            sheets.Get(pattern.disable), sheets.Get(pattern.marked)};
    };
    QVERIFY(sheetsOf(mw::kIdWebLink) == expect(mw::kLinkPattern));
    QVERIFY(sheetsOf(mw::kIdTwitterLink) == expect(mw::kLinkPattern));
    QVERIFY(sheetsOf(mw::kIdApply) == expect(mw::kApplyPattern));
    QVERIFY(sheetsOf(mw::kIdOk) == expect(mw::kCommandPattern));
    QVERIFY(sheetsOf(mw::kIdBankIndicator) == expect(mw::kIndicatorPattern));
    QVERIFY(sheetsOf(mw::kReportRateButtonIds[3]) == expect(mw::kKeyPattern));
    QVERIFY(sheetsOf(mw::kIdVersion) == expect(mw::kPlainPattern));
    QCOMPARE(window.Button(mw::kIdApply)->geometry(), DefaultSkinRect("CONTROL2_APPLY"));
    QVERIFY(!window.Button(mw::kIdApply)->isEnabled());  // nothing pending at start
    QVERIFY(window.Button(mw::kIdTest)->isHidden());
    QVERIFY(window.Button(mw::kIdProfileMenu)->isHidden());
    QCOMPARE(window.Button(mw::kIdHelp)->TooltipText(), QStringLiteral("Help"));
}

void MainLayoutTest::missingSkinKeyLeavesButtonDisabledAtOneOne() {
    HarnessOptions options;
    options.missingSkinKeys = {"KEY_01E", "FUNC_G3", "CONTROL_HELP", "KEY_03B", "Link"};
    MainWindowHarness harness(options);
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    for (const int id : {1058, 1002, mw::kIdHelp, 1010}) {
        QCOMPARE(window.Button(id)->geometry(), QRect(1, 1, 1, 1));
        QCOMPARE(window.Button(id)->SourcePoint(), QPoint(1, 1));
        QVERIFY(!window.Button(id)->isEnabled());
    }
    // F1 stays unused when the flip setting would enable it again; F2 follows the setting.
    window.Layout().ApplyFlipState(true);
    window.Layout().ApplyFlipState(false);
    QVERIFY(!window.Button(1010)->isEnabled());
    QVERIFY(window.Button(1011)->isEnabled());
    QVERIFY(window.Button(1059)->isEnabled());  // S, whose key is there
    // The web link falls back to the project's page.
    window.OnCommand(mw::kIdWebLink);
    QCOMPARE(harness.openedUrls, std::vector<QString>{QString::fromUtf8(mw::kFallbackLink.data())});
}

void MainLayoutTest::flipOnAtStartEnablesDButtonsAndUsesUpArrows() {
    for (const std::string flip : {"1", "2"}) {
        MainWindowHarness harness(WithFlip(flip));
        harness.InitialiseOnly();
        mw::CQuilvaneDlg& window = harness.Window();
        for (const int id : mw::kIdD1ToD6) {
            QVERIFY(window.Button(id)->isEnabled());
        }
        for (const int id : mw::kIdF1ToF4) {
            QVERIFY(!window.Button(id)->isEnabled());
        }
        QCOMPARE(window.Button(mw::kIdLeftArrow)->SourcePoint(), SheetPoint("UP_ARROW_LEFT1"));
        QCOMPARE(window.Button(mw::kIdRightArrow)->SourcePoint(), SheetPoint("UP_ARROW_RIGHT1"));
        QCOMPARE(window.Button(mw::kIdLeftArrow)->geometry(), DefaultSkinRect("LEFT_ARROW"));
        const qx::skin::SheetSet& flip0 = window.Button(mw::kIdFlip0)->Sheets();
        QCOMPARE(flip0.normal, window.Sheets().Get(Sheet::kNormal2));
        QCOMPARE(flip0.disable, window.Sheets().Get(Sheet::kNormal2));
        QCOMPARE(flip0.marked, window.Sheets().Get(Sheet::kDisable));
    }
    MainWindowHarness harness(WithFlip("0"));
    harness.InitialiseOnly();
    mw::CQuilvaneDlg& window = harness.Window();
    QVERIFY(window.Button(1010)->isEnabled());
    QVERIFY(!window.Button(1016)->isEnabled());
    QCOMPARE(window.Button(mw::kIdLeftArrow)->SourcePoint(), SheetPoint("DOWN_ARROW_LEFT1"));
    QCOMPARE(window.Button(mw::kIdFlip0)->Sheets().normal, window.Sheets().Get(Sheet::kNormal));
}

void MainLayoutTest::flipToggleStoresAndAppliesTheInvertedSetting() {
    MainWindowHarness harness(WithFlip("0"));
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    window.Button(mw::kIdFlip2)->click();
    QCOMPARE(harness.Settings().ReadProfileString("PROFILES", "Flip").value_or(""), "1");
    QVERIFY(window.Button(1016)->isEnabled());
    QVERIFY(!window.Button(1013)->isEnabled());
    QCOMPARE(window.Button(mw::kIdRightArrow)->SourcePoint(), SheetPoint("UP_ARROW_RIGHT1"));
    window.OnCommand(mw::kIdFlip1);
    QCOMPARE(harness.Settings().ReadProfileString("PROFILES", "Flip").value_or(""), "0");
    QVERIFY(window.Button(1013)->isEnabled());
    // The bank indicator's command does nothing.
    window.OnCommand(mw::kIdBankIndicator);
    QCOMPARE(harness.Settings().ReadProfileString("PROFILES", "Flip").value_or(""), "0");
}

void MainLayoutTest::assignedKeyDrawsFromDisableSheetAndOverWhileHovered() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    harness.Send(mw::kOpenMessage, mw::kOpenCode);
    qx::skin::CPngButton* keyA = window.Button(1058);
    QVERIFY(!keyA->IsMarked());
    QCOMPARE(keyA->SheetOf(keyA->CurrentFace().sheet), window.Sheets().Get(Sheet::kNormal));
    {
        const auto guard = qx::keyboard::Images().LockImage();
        guard->image->Entry(0, 0x1E).SetKind(qx::keyboard::kKindDisabled);
    }
    window.RefreshKeyButtons();
    QVERIFY(keyA->IsMarked());
    QCOMPARE(keyA->SheetOf(keyA->CurrentFace().sheet), window.Sheets().Get(Sheet::kDisable));
    HoverOver(keyA);
    QVERIFY(MainWindowHarness::WaitFor([&] { return keyA->IsHover(); }));
    QCOMPARE(keyA->SheetOf(keyA->CurrentFace().sheet), window.Sheets().Get(Sheet::kOver));
    LeaveFrom(keyA);
    QCOMPARE(keyA->SheetOf(keyA->CurrentFace().sheet), window.Sheets().Get(Sheet::kDisable));
}

void MainLayoutTest::hoveringFlipButtonsShowsSecondArrowFrame() {
    MainWindowHarness harness(WithFlip("0"));
    harness.InitialiseOnly();
    mw::CQuilvaneDlg& window = harness.Window();
    for (const int flipButton : {mw::kIdFlip1, mw::kIdFlip2}) {
        HoverOver(window.Button(flipButton));
        QCOMPARE(window.Button(mw::kIdLeftArrow)->SourcePoint(), SheetPoint("DOWN_ARROW_LEFT2"));
        QCOMPARE(window.Button(mw::kIdRightArrow)->SourcePoint(), SheetPoint("DOWN_ARROW_RIGHT2"));
        LeaveFrom(window.Button(flipButton));
        QCOMPARE(window.Button(mw::kIdLeftArrow)->SourcePoint(), SheetPoint("DOWN_ARROW_LEFT1"));
    }
}

void MainLayoutTest::captionsAndVersionLabelTakeTheirTextStyle() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    for (const int id : {mw::kIdProfiles, mw::kIdProfileButtons[1], mw::kIdOk, mw::kIdApply}) {
        const QFont font = window.Button(id)->CaptionFont();
        QCOMPARE(font.family(), QStringLiteral("DejaVu Sans"));
    }
    QCOMPARE(window.Button(mw::kIdCancel)->text(), QStringLiteral("Cancel"));
    QCOMPARE(window.Button(mw::kIdMacro)->text(), QStringLiteral("Macros"));
    qx::skin::CPngButton* version = window.Button(mw::kIdVersion);
    QVERIFY(version->text().isEmpty());
    QVERIFY(!version->isEnabled());
    QCOMPARE(version->CaptionFont().family(), QStringLiteral("DejaVu Sans"));
    // Disabled captions are grey, the others white.
    window.Button(mw::kIdProfiles)->setEnabled(false);
    QCOMPARE(window.Button(mw::kIdProfiles)->CurrentFace().colour, qx::skin::ColourSlot::Disable);
}

void MainLayoutTest::linkButtonsOpenTheSkinsTargets() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    for (const int id : {mw::kIdWebLink, mw::kIdFacebookLink, mw::kIdTwitterLink}) {
        window.Button(id)->click();
    }
    const std::vector<QString> expected{QStringLiteral("https://www.example.com/qx480"),
                                        QStringLiteral("https://www.example.com/qx480/community"),
                                        QStringLiteral("https://www.example.com/qx480/news")};
    QCOMPARE(harness.openedUrls, expected);
    QCOMPARE(window.Button(mw::kIdFacebookLink)->TooltipText(), expected[1]);
    window.Button(mw::kIdHelp)->click();
    QCOMPARE(harness.helpOpened, 1);
    window.Button(mw::kIdProfileMenu)->click();
    QCOMPARE(harness.profileMenuTracked, 1);
}

void MainLayoutTest::panelShowsOnlyLampWhileSwitchIsOff() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    QCOMPARE(window.Control(mw::kIdModeList)->geometry(), DefaultSkinRect("CONTROL_XGcombox"));
    QCOMPARE(window.Control(1194)->geometry(), DefaultSkinRect("CONTROL_HONGPIC"));
    std::vector<int> shown;
    for (int id = 1140; id <= 1210; ++id) {
        QWidget* control = window.Panel().Control(id);
        if (control != nullptr && !control->isHidden()) {
            shown.push_back(id);
        }
    }
    // The progress picture shows only while the busy indicator runs.
    const std::vector<int> expected{mw::kIdLamp, mw::kIdLampLabel, mw::kIdReportRateLabel};
    QCOMPARE(shown, expected);
    QCOMPARE(window.Panel().PictureOf(mw::kIdLamp), QStringLiteral("dengup.bmp"));
    QCOMPARE(window.Panel().LayerList()->count(), 10);
    QCOMPARE(window.Panel().LayerList()->itemText(0), QStringLiteral("Layer 1"));
}

void MainLayoutTest::panelFollowsTheModeWhileSwitchIsOn() {
    HarnessOptions options;
    options.lightingSwitchOn = true;
    MainWindowHarness harness(options);
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    qx::lighting::panel::LightingPanel& panel = window.Panel();
    QCOMPARE(panel.PictureOf(mw::kIdLamp), QStringLiteral("dengdown.bmp"));
    QVERIFY(!panel.Control(mw::kIdModeList)->isHidden());
    QVERIFY(!panel.Control(mw::kIdBrightnessSlider)->isHidden());
    panel.ShowModeControls(5, 0);
    QVERIFY(panel.Control(mw::kIdSpeedSlider)->isHidden());
    QVERIFY(panel.Control(mw::kIdDirectionFirst)->isHidden());
    panel.ShowModeControls(1, 255);
    QVERIFY(!panel.Control(mw::kIdDirectionFirst)->isHidden());
    QCOMPARE(panel.Control(mw::kIdDirectionFirst)->pos(),
             DefaultSkinRect("CONTROL_BLFXLStaPic2").topLeft());
    QCOMPARE(panel.PictureOf(mw::kIdDirectionFirst), QStringLiteral("leftdown.bmp"));
    panel.ShowModeControls(254, 0);
    QVERIFY(!panel.Control(mw::kIdLayerList)->isHidden());
    QVERIFY(!panel.Control(mw::kIdAllOn)->isHidden());
    // Frames of the per-key view, and back to pictures without marks.
    panel.SetKeyFrame(1058, true);
    QVERIFY(window.Button(1058)->IsFrameMode());
    QCOMPARE(window.Button(1058)->FrameColour(), qx::skin::ColorRef{0xFFFFFF});
    window.Button(1059)->SetMarked(true);
    panel.ClearFrames();
    QVERIFY(!window.Button(1058)->IsFrameMode());
    QVERIFY(!window.Button(1059)->IsMarked());
    panel.ShowReportRate(2);
    QVERIFY(window.Button(mw::kReportRateButtonIds[2])->IsMarked());
    QVERIFY(!window.Button(mw::kReportRateButtonIds[0])->IsMarked());
}

QTEST_MAIN(MainLayoutTest)
#include "tst_main_layout.moc"
