// A picture control of the lighting panel: shows one bitmap of the skin folder and reports a
// left click, like a static picture with the notify style.
#pragma once

#include <QLabel>
#include <QString>

namespace qx::mainwnd {

class PanelPicture : public QLabel {
    Q_OBJECT

  public:
    explicit PanelPicture(QWidget* parent = nullptr);

    // The bitmap shown (by its file name in the skin folder; empty: nothing is shown).
    void ShowPicture(const QString& name, const QPixmap& picture);
    [[nodiscard]] const QString& PictureName() const { return pictureName_; }

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QString pictureName_;
};

}  // namespace qx::mainwnd
