// The bitmap slider of the lighting panel: a control of five positions (0..4) that draws the
// channel picture of its position, the picture showing the level. The mouse (press and drag),
// the wheel and the arrow, Home and End keys move it; every move the user makes posts the
// slider message to the main window with the slider's id and the new position. Positions set by
// the program post nothing.
#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/window_message.h"

namespace qx::lighting::panel {

// The message a slider posts: wParam = the slider's control id, lParam = the new position.
inline constexpr uint32_t kSliderMessage = 0x28d1;
inline constexpr int kSliderFirstPosition = 0;
inline constexpr int kSliderLastPosition = 4;
inline constexpr int kSliderPositionCount = kSliderLastPosition - kSliderFirstPosition + 1;

// The position under x in a slider `width` pixels wide: the channel is five equal segments.
int SliderPositionAt(int x, int width);

class BitmapSlider : public QWidget {
    Q_OBJECT

  public:
    // Where the slider message goes, asked at each post (the main window's target; null: none).
    using TargetSource = std::function<std::shared_ptr<platform::MessageTarget>()>;

    struct Channel {
        QString name;  // the picture's file name, for tests and the accessible description
        QPixmap picture;
    };
    using Channels = std::array<Channel, kSliderPositionCount>;

    BitmapSlider(int controlId, TargetSource target, QWidget* parent = nullptr);

    // The channel pictures of positions 0..4.
    void SetChannels(Channels channels);

    // Moves the slider without posting (outside 0..4: the nearest end).
    void SetPosition(int position);
    [[nodiscard]] int Position() const { return position_; }
    [[nodiscard]] int ControlId() const { return controlId_; }
    // The file name of the picture shown now.
    [[nodiscard]] const QString& PictureName() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // A move made by the user: posts the slider message when the position changed.
    void MoveByUser(int position);

    int controlId_;
    TargetSource target_;
    Channels channels_;
    int position_ = kSliderFirstPosition;
    int wheelRemainder_ = 0;  // wheel angle not yet turned into a step
};

}  // namespace qx::lighting::panel
