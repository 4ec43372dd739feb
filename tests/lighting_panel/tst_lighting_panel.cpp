// The lighting panel in a stand-in main window, driving the lighting model on an emulated
// keyboard: what shows for each switch state and mode, the pictures, the keyboard view's frames,
// the sliders' message, and the traffic each user action causes.
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>
#include <fstream>

#include "keyboard/key_buttons.h"
#include "lighting/key_frames.h"
#include "lighting/panel/bitmap_slider.h"
#include "lighting/panel/panel_controls.h"
#include "lighting/panel/panel_picture.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "skin/placement.h"
#include "tests/lighting_panel/panel_rig.h"

using namespace qx::lighting;
using namespace qx::lighting::panel;
using qx::lighting::panel::testing::PanelRig;
using qx::lighting::panel::testing::TempFolder;
using Record = qx::platform::testing::RecordingMessageTarget::Record;
using Kind = qx::platform::testing::RecordingMessageTarget::Kind;

namespace {

constexpr std::size_t kLayerBytes = 18;

QList<int> Ids(const std::vector<int>& ids) {
    return QList<int>(ids.begin(), ids.end());
}

QStringList Texts(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) {
        list << QString::fromStdString(text);
    }
    return list;
}

QList<int> Sorted(QList<int> ids) {
    std::sort(ids.begin(), ids.end());
    return ids;
}

// The controls that show with the switch off, and the groups added to them.
const QList<int> kLampGroup{kIdLamp, kIdLampLabel, kIdReportRateLabel};
QList<int> LampGroupAnd(const QList<int>& more) {
    return Sorted(kLampGroup + more);
}
const QList<int> kBrightness{kIdModeList, kIdBrightnessLabel, kIdBrightnessSlider};
const QList<int> kSpeed{kIdSpeedLabel, kIdSpeedSlider};
const QList<int> kDirection{kIdDirectionLabel, kIdDirectionFirst, kIdDirectionSecond};
const QList<int> kPerKey{kIdToolLabel, kIdPaintTool,   kIdEraseTool, kIdLayerList,
                         kIdAllOff,    kIdAllOffLabel, kIdAllOn,     kIdAllOnLabel};

// "6@<offset>:<hex bytes>" for a record write, "17@<offset>:..." for a key-light write.
std::string Write(int command, int offset, const std::string& bytes) {
    return std::to_string(command) + "@" + std::to_string(offset) + ":" + bytes;
}
std::string Repeated(const std::string& byte, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += (i == 0 ? "" : " ") + byte;
    }
    return text;
}

bool LedLit(const std::vector<uint8_t>& layer, int led) {
    return led < 144 && ((layer[static_cast<std::size_t>(led / 8)] >> (led % 8)) & 1) != 0;
}

// Every button of the keyboard view framed: white exactly where the layer's bit is set.
void ExpectFramesOf(PanelRig& rig, const std::vector<uint8_t>& layer) {
    for (const FramedButton& framed : FramedButtons()) {
        const qx::skin::CPngButton& button = rig.Button(framed.controlId);
        const QByteArray id = QByteArray::number(framed.controlId);
        QVERIFY2(button.IsFrameMode(), id);
        QCOMPARE(button.FrameLevel(), kFrameLevel);
        QVERIFY2(button.FrameColour() ==
                     (LedLit(layer, framed.lightingIndex) ? kLitFrameColour : kUnlitFrameColour),
                 id);
    }
}

void ExpectNoFramesNorMarks(PanelRig& rig) {
    for (const FramedButton& framed : FramedButtons()) {
        QVERIFY(!rig.Button(framed.controlId).IsFrameMode());
        QVERIFY(!rig.Button(framed.controlId).IsMarked());
    }
}

// A key whose LED no other button of the view shares, away from the first byte of a layer.
qx::keyboard::KeyButton LoneKey() {
    for (const qx::keyboard::KeyButton& key : qx::keyboard::KeyButtons()) {
        if (key.lightingIndex >= 16 && key.lightingIndex < 144 && key.lightingIndex != 45) {
            return key;
        }
    }
    return qx::keyboard::KeyButtons()[0];
}

void SendKey(QWidget& widget, Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

void SendWheel(QWidget& widget, int angle) {
    const QPointF at(2, 2);
    QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&widget, &event);
}

}  // namespace

class LightingPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY2(QFile::exists(QString::fromStdString(testing::GeneratedSkinFolder() + "Main.ini")),
                 "the generated skin is missing");
    }

    void startUpPlacesEveryControlAndShowsOnlyTheLamp() {
        PanelRig rig;
        LightingPanel& panel = rig.Panel();
        const std::string ini = testing::GeneratedSkinFolder() + "Main.ini";
        for (const PanelControl& control : PanelControls()) {
            const qx::skin::SkinRect rect = qx::skin::ReadSkinRect(ini, control.skinKey);
            QCOMPARE(panel.Control(control.id)->geometry(), QRect(rect.x, rect.y, rect.w, rect.h));
        }
        QCOMPARE(Ids(rig.ShownControls()), kLampGroup);
        QCOMPARE(panel.PictureOf(kIdLamp), QStringLiteral("dengup.bmp"));
        QVERIFY(panel.Picture(kIdLamp)->HasPicture());
        QCOMPARE(panel.PictureOf(kIdBrightnessSlider), QStringLiteral("0.bmp"));
        QCOMPARE(panel.PictureOf(kIdSpeedSlider), QStringLiteral("5.bmp"));
        QCOMPARE(panel.PictureOf(kIdColourPictures[2]), QStringLiteral("lv.bmp"));
        QVERIFY(!panel.SwitchOn());
    }

    void switchOffShowsOnlyTheLampWhateverTheMode() {
        for (const int type : {1, 5, 254}) {
            PanelRig rig;
            rig.SetModeSlots({1, 5, 254});
            rig.SetRecordByte(field::kModeType, static_cast<uint8_t>(type));
            rig.ReadAndRefresh();
            QCOMPARE(Ids(rig.ShownControls()), kLampGroup);
            QCOMPARE(rig.Panel().ModeList()->count(), 3);
            ExpectNoFramesNorMarks(rig);

            rig.Panel().ShowProgress(true);
            QCOMPARE(Ids(rig.ShownControls()), LampGroupAnd({kIdProgress}));
            for (const int id : kReportRateButtonIds) {
                QVERIFY(!rig.Button(id).isHidden());
            }
        }
    }

    void modeFiveHidesSpeedAndDirectionButKeepsBrightness() {
        PanelRig rig;
        rig.SetModeSlots({1, 5, 15, 3, 254});
        rig.SetRecordByte(field::kModeType, 1);
        rig.StoreSwitch(true);
        rig.ReadAndRefresh();
        QCOMPARE(Ids(rig.ShownControls()), LampGroupAnd(kBrightness + kSpeed + kDirection));

        rig.ChooseMode(5);
        QCOMPARE(Ids(rig.ShownControls()), LampGroupAnd(kBrightness));
        QCOMPARE(Texts(rig.TakeWrites()), Texts({Write(6, 0, "05")}));

        // Neither the arrow keys nor the wheel over the closed list step through the modes.
        QComboBox& modes = *rig.Panel().ModeList();
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left}) {
            QTest::keyClick(&modes, key);
        }
        SendWheel(modes, -120);
        SendWheel(modes, 120);
        QCOMPARE(modes.currentIndex(), 1);
        QCOMPARE(rig.TakePacketCount(), 0U);
    }

    void modeFifteenShowsTheUpDownPairByTheDirectionByte() {
        PanelRig rig;
        rig.SetModeSlots({1, 15});
        rig.SetRecordByte(field::kModeType, 1);
        rig.SetRecordByte(field::kDirection, 0);
        rig.StoreSwitch(true);
        rig.ReadAndRefresh();
        rig.ChooseMode(15);
        LightingPanel& panel = rig.Panel();
        QCOMPARE(panel.PictureOf(kIdDirectionFirst), QStringLiteral("upup.bmp"));
        QCOMPARE(panel.PictureOf(kIdDirectionSecond), QStringLiteral("downdown.bmp"));
        rig.TakeWrites();

        rig.ClickPicture(kIdDirectionFirst);
        QCOMPARE(panel.PictureOf(kIdDirectionFirst), QStringLiteral("updown.bmp"));
        QCOMPARE(panel.PictureOf(kIdDirectionSecond), QStringLiteral("downup.bmp"));
        rig.ClickPicture(kIdDirectionSecond);
        QCOMPARE(panel.PictureOf(kIdDirectionFirst), QStringLiteral("upup.bmp"));
        QCOMPARE(Texts(rig.TakeWrites()), Texts({Write(6, 4, "ff"), Write(6, 4, "00")}));
    }

    // The default skin puts both places on the same spot; this skin moves the alternative ones.
    void typesOneToThreeMoveTheDirectionControlsToTheAlternativePlaces() {
        TempFolder folder;
        const std::string ini = (folder.Path() / "Main.ini").string();
        std::filesystem::copy_file(testing::GeneratedSkinFolder() + "Main.ini", ini);
        const std::array<std::pair<const char*, QPoint>, 3> moved{
            {{"CONTROL_BLFXStatic2", QPoint(600, 300)},
             {"CONTROL_BLFXLStaPic2", QPoint(610, 320)},
             {"CONTROL_BLFXRStaPic2", QPoint(660, 320)}}};
        for (const auto& [key, at] : moved) {
            qx::platform::WriteIniString(
                ini, "BUTTONINFO", key,
                std::to_string(at.x()) + "," + std::to_string(at.y()) + ",5,5");
        }
        PanelRig rig(ini);
        rig.SetModeSlots({3, 4});
        rig.SetRecordByte(field::kModeType, 4);
        rig.SetRecordByte(field::kDirection, 255);
        rig.StoreSwitch(true);
        rig.ReadAndRefresh();
        LightingPanel& panel = rig.Panel();
        const std::array<int, 3> ids{kIdDirectionLabel, kIdDirectionFirst, kIdDirectionSecond};
        std::array<QRect, 3> usual;
        for (std::size_t i = 0; i < ids.size(); ++i) {
            usual[i] = panel.Control(ids[i])->geometry();
        }

        rig.ChooseMode(3);
        for (std::size_t i = 0; i < ids.size(); ++i) {
            QCOMPARE(panel.Control(ids[i])->geometry(), QRect(moved[i].second, usual[i].size()));
        }
        QCOMPARE(panel.PictureOf(kIdDirectionFirst), QStringLiteral("kuosandown.bmp"));
        QCOMPARE(panel.PictureOf(kIdDirectionSecond), QStringLiteral("julong.bmp"));

        rig.ChooseMode(4);
        for (std::size_t i = 0; i < ids.size(); ++i) {
            QCOMPARE(panel.Control(ids[i])->geometry(), usual[i]);
        }
        QCOMPARE(panel.PictureOf(kIdDirectionFirst), QStringLiteral("leftdown.bmp"));
    }

    void perKeyModeShowsItsToolsAndFramesTheKeyboardFromTheLayer() {
        PanelRig rig;
        const std::vector<uint8_t> layer2{0x01, 0x00, 0x84, 0x00, 0x00, 0x20, 0x00, 0x00, 0x10,
                                          0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x80};
        std::vector<uint8_t> layer3(kLayerBytes, 0);
        layer3[5] = 0xFF;
        rig.SetPageBytes(2 * kLayerBytes, layer2);
        rig.SetPageBytes(3 * kLayerBytes, layer3);
        rig.SetModeSlots({1, 254});
        rig.SetRecordByte(field::kModeType, 1);
        rig.SetRecordByte(field::kLayer, 2);
        rig.StoreSwitch(true);
        rig.ReadAndRefresh();
        rig.Button(1058).SetMarked(true);  // an assigned key

        rig.ChooseMode(254);
        QCOMPARE(Ids(rig.ShownControls()), LampGroupAnd(kBrightness + kPerKey));
        ExpectFramesOf(rig, layer2);
        QVERIFY(!rig.Button(1058).IsMarked());
        QCOMPARE(rig.Panel().LayerList()->currentIndex(), 2);
        QCOMPARE(Texts(rig.TakeWrites()), Texts({Write(6, 0, "fe")}));

        rig.ClickPicture(kIdAllOn);
        QCOMPARE(rig.Panel().PictureOf(kIdAllOn), QStringLiteral("sjsdown.bmp"));
        rig.ChooseLayer(3);
        QCOMPARE(rig.Panel().PictureOf(kIdAllOn), QStringLiteral("sjsup.bmp"));
        QCOMPARE(rig.Panel().PictureOf(kIdAllOff), QStringLiteral("sjsup.bmp"));
        ExpectFramesOf(rig, layer3);
        QCOMPARE(Texts(rig.TakeWrites()),
                 Texts({Write(17, 36, Repeated("ff", kLayerBytes)), Write(6, 3, "03")}));
    }

    void allOnAndAllOffFillTheLayerAndItsFrames() {
        PanelRig rig;
        rig.SetModeSlots({254});
        rig.SetRecordByte(field::kModeType, 254);
        rig.SetRecordByte(field::kLayer, 9);
        rig.StoreSwitch(true);
        rig.ReadAndRefresh();
        LightingPanel& panel = rig.Panel();

        rig.ClickPicture(kIdAllOn);
        QCOMPARE(panel.PictureOf(kIdAllOn), QStringLiteral("sjsdown.bmp"));
        QCOMPARE(panel.PictureOf(kIdAllOff), QStringLiteral("sjsup.bmp"));
        ExpectFramesOf(rig, std::vector<uint8_t>(kLayerBytes, 0xFF));

        rig.ClickPicture(kIdAllOff);
        QCOMPARE(panel.PictureOf(kIdAllOn), QStringLiteral("sjsup.bmp"));
        QCOMPARE(panel.PictureOf(kIdAllOff), QStringLiteral("sjsdown.bmp"));
        ExpectFramesOf(rig, std::vector<uint8_t>(kLayerBytes, 0x00));
        QCOMPARE(Texts(rig.TakeWrites()), Texts({Write(17, 162, Repeated("ff", kLayerBytes)),
                                                 Write(17, 162, Repeated("00", kLayerBytes))}));
    }

    void keyClickWhileTheSwitchIsOnPaintsOrErasesOneLight() {
        PanelRig rig;
        rig.SetModeSlots({254});
        rig.SetPageBytes(0, std::vector<uint8_t>(kLayerBytes, 0));
        rig.SetRecordByte(field::kModeType, 254);
        rig.SetRecordByte(field::kLayer, 0);
        rig.SetRecordByte(field::kTool, 0);
        rig.StoreSwitch(true);
        rig.ReadAndRefresh();
        const qx::keyboard::KeyButton key = LoneKey();
        const int byte = key.lightingIndex / 8;
        const int bit = 1 << (key.lightingIndex % 8);
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", bit);

        QVERIFY(rig.Panel().HandleKeyClick(key.controlId));
        QCOMPARE(rig.Button(key.controlId).FrameColour(), kLitFrameColour);
        QCOMPARE(Texts(rig.TakeWrites()), Texts({Write(17, byte, hex)}));

        rig.ClickPicture(kIdEraseTool);
        QCOMPARE(rig.Panel().PictureOf(kIdPaintTool), QStringLiteral("user1up.bmp"));
        QCOMPARE(rig.Panel().PictureOf(kIdEraseTool), QStringLiteral("user2down.bmp"));
        QVERIFY(rig.Panel().HandleKeyClick(key.controlId));
        QCOMPARE(rig.Button(key.controlId).FrameColour(), kUnlitFrameColour);
        QVERIFY(rig.Button(key.controlId).IsFrameMode());
        QCOMPARE(Texts(rig.TakeWrites()), Texts({Write(6, 16, "01"), Write(17, byte, "00")}));

        // G keys have no LED of their own: the click is the lighting's, but changes nothing.
        QVERIFY(rig.Panel().HandleKeyClick(qx::keyboard::kGKeyButtonIds[0]));
        QCOMPARE(rig.TakePacketCount(), 0U);

        rig.Panel().ToggleSwitch();
        QVERIFY(!rig.Panel().HandleKeyClick(key.controlId));
        QCOMPARE(rig.TakePacketCount(), 0U);
    }

    void lampTogglesTheStoredSwitchWithoutTrafficAndHandsTheKeysBack() {
        PanelRig rig;
        rig.SetModeSlots({254});
        rig.SetRecordByte(field::kModeType, 254);
        rig.ReadAndRefresh();
        rig.Button(1058).SetMarked(true);
        LightingPanel& panel = rig.Panel();

        rig.ClickPicture(kIdLamp);
        QCOMPARE(rig.StoredSwitch(), std::string("1"));
        QCOMPARE(panel.PictureOf(kIdLamp), QStringLiteral("dengdown.bmp"));
        QVERIFY(panel.SwitchOn());
        QVERIFY(!rig.Button(1058).IsMarked());
        QVERIFY(rig.Button(1058).IsFrameMode());
        QCOMPARE(Ids(rig.ShownControls()), LampGroupAnd(kBrightness + kPerKey));
        QCOMPARE(rig.Host().keyButtonRefreshes, 0);

        rig.ClickPicture(kIdLamp);
        QCOMPARE(rig.StoredSwitch(), std::string("0"));
        QCOMPARE(panel.PictureOf(kIdLamp), QStringLiteral("dengup.bmp"));
        ExpectNoFramesNorMarks(rig);
        QCOMPARE(rig.Host().keyButtonRefreshes, 1);
        QCOMPARE(Ids(rig.ShownControls()), kLampGroup);

        rig.ClickPicture(kIdLamp);
        QCOMPARE(rig.StoredSwitch(), std::string("1"));
        panel.SetSwitch(true);  // already on: nothing
        QCOMPARE(rig.StoredSwitch(), std::string("1"));
        panel.SetSwitch(false);
        QCOMPARE(rig.StoredSwitch(), std::string("0"));
        QCOMPARE(rig.Host().keyButtonRefreshes, 2);
        QCOMPARE(rig.TakePacketCount(), 0U);
    }

    // On a refresh with the switch on the frames go first: a mode other than the per-key one
    // leaves the keyboard view bare, the per-key mode frames it again.
    void refreshWithTheSwitchOnClearsTheFramesFirst() {
        PanelRig rig;
        rig.SetModeSlots({5, 254});
        rig.SetRecordByte(field::kModeType, 5);
        rig.StoreSwitch(true);
        rig.ReadAndRefresh();
        rig.Button(1058).SetMarked(true);
        rig.Button(1060).SetFrameMode(kLitFrameColour, kFrameLevel, true);
        rig.Panel().Refresh();
        ExpectNoFramesNorMarks(rig);

        rig.SetRecordByte(field::kModeType, 254);
        rig.SetRecordByte(field::kLayer, 4);
        const std::vector<uint8_t> layer4(kLayerBytes, 0x55);
        rig.SetPageBytes(4 * kLayerBytes, layer4);
        rig.ReadAndRefresh();
        ExpectFramesOf(rig, layer4);
    }

    void userSliderMovesPostTheSliderMessageAndProgramMovesDoNot() {
        PanelRig rig;
        rig.SetModeSlots({1});
        rig.SetRecordByte(field::kModeType, 1);
        rig.SetRecordByte(field::kBrightness, 2);
        rig.SetRecordByte(field::kSpeed, 3);
        rig.StoreSwitch(true);
        rig.ReadAndRefresh();
        LightingPanel& panel = rig.Panel();
        QCOMPARE(panel.PictureOf(kIdBrightnessSlider), QStringLiteral("2.bmp"));
        QCOMPARE(panel.PictureOf(kIdSpeedSlider), QStringLiteral("6.bmp"));  // position 1
        QVERIFY(rig.Posts().empty());

        BitmapSlider& speed = *panel.Slider(kIdSpeedSlider);
        QTest::mouseClick(&speed, Qt::LeftButton, Qt::NoModifier,
                          QPoint(speed.width() - 1, speed.height() / 2));
        QCOMPARE(panel.PictureOf(kIdSpeedSlider), QStringLiteral("9.bmp"));
        const std::vector<Record> posts = rig.Posts();
        QCOMPARE(posts.size(), 1U);
        QVERIFY(posts[0].kind == Kind::Post);
        QCOMPARE(posts[0].message, kSliderMessage);
        QCOMPARE(posts[0].wParam, static_cast<qx::platform::MessageWParam>(kIdSpeedSlider));
        QCOMPARE(posts[0].lParam, static_cast<qx::platform::MessageLParam>(4));
        QCOMPARE(rig.TakePacketCount(), 0U);  // the main window's handler writes it

        panel.HandleSliderMessage(posts[0].wParam, posts[0].lParam);
        QCOMPARE(Texts(rig.TakeWrites()), Texts({Write(6, 2, "00")}));
        panel.HandleSliderMessage(kIdSpeedSlider, 4);  // unchanged: nothing sent
        QCOMPARE(rig.TakePacketCount(), 0U);

        panel.Refresh();
        panel.SetSliderPositions(1, 1);
        QCOMPARE(panel.PictureOf(kIdBrightnessSlider), QStringLiteral("1.bmp"));
        QCOMPARE(rig.Posts().size(), 1U);
    }

    void slidersFollowTheWheelAndTheKeysWithinTheirRange() {
        PanelRig rig;
        BitmapSlider& brightness = *rig.Panel().Slider(kIdBrightnessSlider);
        SendKey(brightness, Qt::Key_End);
        SendWheel(brightness, 120);  // already at the end: no move, no message
        SendKey(brightness, Qt::Key_Left);
        SendWheel(brightness, -60);  // half a notch waits for the other half
        SendWheel(brightness, -60);
        SendKey(brightness, Qt::Key_Home);
        QList<qx::platform::MessageLParam> positions;
        for (const Record& post : rig.Posts()) {
            QCOMPARE(post.wParam, static_cast<qx::platform::MessageWParam>(kIdBrightnessSlider));
            positions << post.lParam;
        }
        QCOMPARE(positions, (QList<qx::platform::MessageLParam>{4, 3, 2, 0}));
        QCOMPARE(rig.Panel().PictureOf(kIdBrightnessSlider), QStringLiteral("0.bmp"));

        QCOMPARE(SliderPositionAt(0, 160), 0);
        QCOMPARE(SliderPositionAt(31, 160), 0);
        QCOMPARE(SliderPositionAt(32, 160), 1);
        QCOMPARE(SliderPositionAt(159, 160), 4);
        QCOMPARE(SliderPositionAt(400, 160), 4);
        QCOMPARE(SliderPositionAt(-5, 160), 0);
        QCOMPARE(SliderPositionAt(10, 0), 0);
    }

    void sliderMessagesOutsideTheSlidersAndTheRangeAreIgnored() {
        PanelRig rig;
        rig.SetModeSlots({1});
        rig.SetRecordByte(field::kModeType, 1);
        rig.SetRecordByte(field::kBrightness, 2);
        rig.StoreSwitch(true);
        rig.ReadAndRefresh();
        LightingPanel& panel = rig.Panel();
        panel.HandleSliderMessage(kIdBrightnessSlider, 5);
        panel.HandleSliderMessage(kIdBrightnessSlider, -1);
        panel.HandleSliderMessage(kIdProgress, 3);
        panel.HandleSliderMessage(kIdBrightnessSlider + (qx::platform::MessageWParam{1} << 32), 3);
        QCOMPARE(panel.PictureOf(kIdBrightnessSlider), QStringLiteral("2.bmp"));
        QCOMPARE(rig.TakePacketCount(), 0U);

        panel.SliderMessageHandler()(kIdBrightnessSlider, 3);
        QCOMPARE(panel.PictureOf(kIdBrightnessSlider), QStringLiteral("3.bmp"));
        QCOMPARE(Texts(rig.TakeWrites()), Texts({Write(6, 1, "03")}));
    }

    void reportRateButtonsShowTheStoredRate() {
        PanelRig rig;
        rig.SetModeSlots({1});
        rig.SetRecordByte(field::kReportRate, 7);  // taken as 3
        rig.ReadAndRefresh();
        const auto marked = [&rig] {
            QList<bool> flags;
            for (const int id : kReportRateButtonIds) {
                flags << rig.Button(id).IsMarked();
            }
            return flags;
        };
        QCOMPARE(marked(), (QList<bool>{false, false, false, true}));

        QVERIFY(rig.Panel().HandleReportRateClick(1168));
        QCOMPARE(marked(), (QList<bool>{false, true, false, false}));
        QCOMPARE(Texts(rig.TakeWrites()), Texts({Write(6, 15, "01")}));
        QVERIFY(!rig.Panel().HandleReportRateClick(1006));
    }

    void languageTextsFillTheLabels() {
        TempFolder folder;
        {
            std::ofstream lang(folder.Path() / "Lang0409.ini");
            lang << "[LIGHT]\nUsb=Rate\nDeng=Lamp\nLight=Bright\nFX=Dir\nSpeed=Fast\n"
                    "Color=Hue\nDC=None\nTool=Brush\nLEDOFF=Every\n";
        }
        qx::platform::SetProgramFolder(folder.Path().string() + "/");
        PanelRig rig;
        rig.Panel().ApplyLanguage(0);
        const auto text = [&rig](int id) {
            return qobject_cast<QLabel*>(rig.Panel().Control(id))->text();
        };
        QCOMPARE(text(kIdReportRateLabel), QStringLiteral("Rate"));
        QCOMPARE(text(kIdLampLabel), QStringLiteral("Lamp"));
        QCOMPARE(text(kIdBrightnessLabel), QStringLiteral("Bright"));
        QCOMPARE(text(kIdDirectionLabel), QStringLiteral("Dir"));
        QCOMPARE(text(kIdSpeedLabel), QStringLiteral("Fast"));
        for (const int id : {kIdReactionColourLabel, kIdBreathingColourLabel, kIdUserColourLabel}) {
            QCOMPARE(text(id), QStringLiteral("Hue"));
        }
        QCOMPARE(text(kIdUserBaseColourLabel), QStringLiteral("#Error"));  // "JColor" missing
        QCOMPARE(text(kIdAllOffLabel), QStringLiteral("None"));
        QCOMPARE(text(kIdRandomColourLabel), QStringLiteral("None"));
        QCOMPARE(text(kIdToolLabel), QStringLiteral("Brush"));
        QCOMPARE(text(kIdAllOnLabel), QStringLiteral("Every"));
        QCOMPARE(text(kIdStaticColourLabel), QString());  // no text of its own
        qx::platform::SetProgramFolder(testing::GeneratedSkinFolder() + "../");
    }

    void missingBitmapsLeaveEmptyPictures() {
        TempFolder empty;
        PanelRig rig({}, empty.Path().string());
        QCOMPARE(rig.Panel().PictureOf(kIdLamp), QStringLiteral("dengup.bmp"));
        QVERIFY(!rig.Panel().Picture(kIdLamp)->HasPicture());
        rig.Panel().Slider(kIdBrightnessSlider)->grab();  // draws nothing, does not fail
        rig.ClickPicture(kIdLamp);
        QCOMPARE(rig.StoredSwitch(), std::string("1"));
    }

    void progressPictureCyclesThroughItsTenFrames() {
        PanelRig rig;
        LightingPanel& panel = rig.Panel();
        panel.ShowProgress(true);
        QVERIFY(!panel.Control(kIdProgress)->isHidden());
        QCOMPARE(panel.PictureOf(kIdProgress), QStringLiteral("jdt1.bmp"));
        QStringList frames;
        for (int i = 0; i < 10; ++i) {
            panel.StepProgress();
            frames << panel.PictureOf(kIdProgress);
        }
        QCOMPARE(frames,
                 (QStringList{"jdt2.bmp", "jdt3.bmp", "jdt4.bmp", "jdt5.bmp", "jdt6.bmp",
                              "jdt7.bmp", "jdt8.bmp", "jdt9.bmp", "jdt10.bmp", "jdt1.bmp"}));
        rig.ClickPicture(kIdLamp);  // the panel's visibility rules leave it alone
        QVERIFY(!panel.Control(kIdProgress)->isHidden());
        panel.ShowProgress(false);
        QVERIFY(panel.Control(kIdProgress)->isHidden());
    }
};

QTEST_MAIN(LightingPanelTest)
#include "tst_lighting_panel.moc"
