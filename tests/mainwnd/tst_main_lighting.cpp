// The lighting panel as the main window runs it against the emulated keyboard: the lamp with the
// key-assignment marks, the controls each mode shows, the per-key mode on the keyboard view, the
// sliders' message and the language message.
#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "device/link/command_packet.h"
#include "keyboard/image_holders.h"
#include "keyboard/key_buttons.h"
#include "lang/language.h"
#include "lighting/lighting_layout.h"
#include "lighting/lighting_model.h"
#include "lighting/panel/bitmap_slider.h"
#include "lighting/panel/lighting_panel.h"
#include "lighting/panel/panel_controls.h"
#include "lighting/panel/panel_picture.h"
#include "mainwnd/main_ids.h"
#include "platform/data_folder.h"
#include "skin/png_button.h"
#include "tests/mainwnd/main_window_harness.h"

using qx::mainwnd::test::HarnessOptions;
using qx::mainwnd::test::MainWindowHarness;
namespace mw = qx::mainwnd;
namespace panel = qx::lighting::panel;
using qx::device::Packet;

namespace {

constexpr uint8_t kWriteMemory = 0x06;
constexpr int kKeyA = 1058;
constexpr int kEntryA = 0x1E;

bool Shown(mw::CQuilvaneDlg& window, int id) {
    return !window.Control(id)->isHidden();
}

// The user picks the mode of `type` in the mode list.
void ChooseMode(mw::CQuilvaneDlg& window, int type) {
    QComboBox* modes = window.Panel().ModeList();
    const int index = window.Lighting()->ModeIndexOfType(type);
    QVERIFY(index >= 0);
    modes->setCurrentIndex(index);
    emit modes->activated(index);
}

void ClickPicture(mw::CQuilvaneDlg& window, int id) {
    panel::PanelPicture* picture = window.Panel().Picture(id);
    QVERIFY(picture != nullptr);
    QTest::mouseClick(picture, Qt::LeftButton);
}

// Data writes of command 6 since the last ForgetTraffic as "offset:byte".
std::vector<std::string> RecordWrites(MainWindowHarness& harness) {
    std::vector<std::string> writes;
    for (const Packet& packet : harness.CommandsNumbered(kWriteMemory)) {
        const int address =
            packet[qx::device::kAddressOffset] | (packet[qx::device::kAddressOffset + 1] << 8);
        writes.push_back(std::to_string(address) + ":" +
                         std::to_string(packet[qx::device::kDataOffset]));
    }
    return writes;
}

HarnessOptions SwitchedOn() {
    HarnessOptions options;
    options.lightingSwitchOn = true;
    return options;
}

}  // namespace

class MainLightingTest : public QObject {
    Q_OBJECT

  private slots:
    void lampSwitchesEditingAndGivesTheKeysTheirMarksBack();
    void eachModeShowsItsControls();
    void perKeyModeFramesTheKeyboardViewFromTheLayer();
    void sliderMessageMovesTheSliderAndWritesTheRecord();
    void languageMessageRenewsThePanelTexts();
};

void MainLightingTest::lampSwitchesEditingAndGivesTheKeysTheirMarksBack() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    harness.Send(mw::kOpenMessage, mw::kOpenCode);
    {
        const auto guard = qx::keyboard::Images().LockImage();
        guard->image->Entry(0, kEntryA).SetKind(qx::keyboard::kKindDisabled);
    }
    window.RefreshKeyButtons();
    QVERIFY(window.Button(kKeyA)->IsMarked());
    harness.ForgetTraffic();

    ClickPicture(window, mw::kIdLamp);
    QVERIFY(window.Panel().SwitchOn());
    QCOMPARE(window.Panel().PictureOf(mw::kIdLamp), QStringLiteral("dengdown.bmp"));
    QVERIFY(Shown(window, mw::kIdModeList));
    QVERIFY(!window.Button(kKeyA)->IsMarked());  // lighting owns the view now
    QVERIFY(qx::platform::ReadLightingPanelSwitch());

    ClickPicture(window, mw::kIdLamp);
    QVERIFY(!window.Panel().SwitchOn());
    QVERIFY(!Shown(window, mw::kIdModeList));
    QVERIFY(!Shown(window, mw::kIdBrightnessSlider));
    QVERIFY(Shown(window, mw::kIdLamp) && Shown(window, mw::kIdLampLabel));
    QVERIFY(window.Button(kKeyA)->IsMarked());
    QVERIFY(!qx::platform::ReadLightingPanelSwitch());
    QVERIFY(harness.Settle());
    QVERIFY(harness.CommandsSent().empty());  // the lamp itself sends nothing
}

void MainLightingTest::eachModeShowsItsControls() {
    MainWindowHarness harness(SwitchedOn());
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    harness.ForgetTraffic();

    ChooseMode(window, 5);
    QVERIFY(Shown(window, mw::kIdBrightnessSlider));
    QVERIFY(!Shown(window, mw::kIdSpeedSlider));
    QVERIFY(!Shown(window, mw::kIdDirectionFirst) && !Shown(window, mw::kIdDirectionSecond));
    QVERIFY(!Shown(window, mw::kIdLayerList));

    window.Lighting()->SetDirection(qx::lighting::kDirectionSecond);
    ChooseMode(window, 15);
    QVERIFY(Shown(window, mw::kIdSpeedSlider));
    QVERIFY(Shown(window, mw::kIdDirectionFirst));
    QCOMPARE(window.Panel().PictureOf(mw::kIdDirectionFirst), QStringLiteral("upup.bmp"));
    QCOMPARE(window.Panel().PictureOf(mw::kIdDirectionSecond), QStringLiteral("downdown.bmp"));
    QVERIFY(harness.Settle());
    const std::vector<std::string> expected{"0:5", "4:0", "0:15"};
    QCOMPARE(RecordWrites(harness), expected);
}

void MainLightingTest::perKeyModeFramesTheKeyboardViewFromTheLayer() {
    MainWindowHarness harness(SwitchedOn());
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    ChooseMode(window, qx::lighting::kPerKeyModeType);
    for (const int id : {panel::kIdLayerList, panel::kIdPaintTool, panel::kIdEraseTool,
                         panel::kIdAllOn, panel::kIdAllOff, panel::kIdToolLabel}) {
        QVERIFY2(Shown(window, id), qPrintable(QString::number(id)));
    }
    QVERIFY(!Shown(window, mw::kIdSpeedSlider));
    QVERIFY(window.Button(kKeyA)->IsFrameMode());
    const bool lit = window.Lighting()->IsKeyLit(qx::keyboard::KeyButtonOfId(kKeyA)->lightingIndex);
    QCOMPARE(window.Button(kKeyA)->FrameColour(),
             lit ? panel::kLitFrameColour : panel::kUnlitFrameColour);

    // All on, then a click on A darkens it with the erase tool.
    ClickPicture(window, panel::kIdAllOn);
    QCOMPARE(window.Panel().PictureOf(panel::kIdAllOn), QStringLiteral("sjsdown.bmp"));
    QCOMPARE(window.Button(kKeyA)->FrameColour(), panel::kLitFrameColour);
    ClickPicture(window, panel::kIdEraseTool);
    window.Button(kKeyA)->click();
    QCOMPARE(window.Button(kKeyA)->FrameColour(), panel::kUnlitFrameColour);

    // Another layer: both check pictures released, the view shows that layer.
    QComboBox* layers = window.Panel().LayerList();
    layers->setCurrentIndex(3);
    emit layers->activated(3);
    QCOMPARE(window.Lighting()->Values().layer, 3);
    QCOMPARE(window.Panel().PictureOf(panel::kIdAllOn), QStringLiteral("sjsup.bmp"));
    QCOMPARE(window.Panel().PictureOf(panel::kIdAllOff), QStringLiteral("sjsup.bmp"));
    QVERIFY(window.Button(kKeyA)->IsFrameMode());
}

void MainLightingTest::sliderMessageMovesTheSliderAndWritesTheRecord() {
    MainWindowHarness harness(SwitchedOn());
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    ChooseMode(window, 1);
    harness.ForgetTraffic();
    harness.Send(panel::kSliderMessage, mw::kIdSpeedSlider, 4);
    QCOMPARE(window.Panel().PictureOf(mw::kIdSpeedSlider), QStringLiteral("9.bmp"));
    harness.Send(panel::kSliderMessage, mw::kIdBrightnessSlider, 2);
    QCOMPARE(window.Panel().PictureOf(mw::kIdBrightnessSlider), QStringLiteral("2.bmp"));
    // Other ids and positions off the slider change nothing.
    harness.Send(panel::kSliderMessage, mw::kIdApply, 1);
    harness.Send(panel::kSliderMessage, mw::kIdSpeedSlider, 9);
    QCOMPARE(window.Panel().PictureOf(mw::kIdSpeedSlider), QStringLiteral("9.bmp"));
    QVERIFY(harness.Settle());
    const std::vector<std::string> expected{"2:0", "1:2"};
    QCOMPARE(RecordWrites(harness), expected);
}

void MainLightingTest::languageMessageRenewsThePanelTexts() {
    MainWindowHarness harness;
    QVERIFY(harness.Start());
    mw::CQuilvaneDlg& window = harness.Window();
    auto* lampLabel = qobject_cast<QLabel*>(window.Control(mw::kIdLampLabel));
    QVERIFY(lampLabel != nullptr);
    const int other = qx::lang::GetLanguageIndex() == 0 ? 1 : 0;
    const QString otherText = QString::fromStdString(qx::lang::LoadLightText("Deng", other));
    QVERIFY(lampLabel->text() != otherText);
    harness.Send(mw::kLanguageMessage, mw::kLanguageCode, other);
    QCOMPARE(lampLabel->text(), otherText);
}

QTEST_MAIN(MainLightingTest)
#include "tst_main_lighting.moc"
