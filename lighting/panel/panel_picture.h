// A picture control of the lighting panel: shows one bitmap of the skin folder at its top-left
// corner and reports a left click, like a static picture that notifies its window.
#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace qx::lighting::panel {

class PanelPicture : public QWidget {
    Q_OBJECT

  public:
    explicit PanelPicture(int controlId, QWidget* parent = nullptr);

    // The bitmap shown and its file name (a null bitmap shows nothing).
    void ShowPicture(const QString& name, const QPixmap& picture);
    [[nodiscard]] const QString& PictureName() const { return name_; }
    [[nodiscard]] int ControlId() const { return controlId_; }
    [[nodiscard]] bool HasPicture() const { return !picture_.isNull(); }

  signals:
    void clicked(int controlId);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int controlId_;
    QString name_;
    QPixmap picture_;
    bool pressed_ = false;  // the left button went down on the picture
};

}  // namespace qx::lighting::panel
