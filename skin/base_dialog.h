// CBaseDialog: the skinned, frameless dialog every window of the program derives from. Its face is
// a background picture, its outline is cut from a mask picture, and pressing on the background
// drags the window.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "skin/skin_ini.h"
#include "skin/skin_keys.h"

namespace qx::skin {

class CBaseDialog : public QDialog {
    Q_OBJECT

  public:
    // `iniPath` is the window's skin file, `skinFolder` its folder ending in '/'.
    CBaseDialog(int templateId, QWidget* parent, std::string iniPath, std::string skinFolder);
    ~CBaseDialog() override;
    CBaseDialog(const CBaseDialog&) = delete;
    CBaseDialog& operator=(const CBaseDialog&) = delete;

    // Runs OnInitDialog once per showing: showing the window calls it; a window that must be
    // initialised while still hidden (the main window) calls it itself.
    void EnsureInitialised();

    // Reads "SCREEN", loads the background and the mask, sizes the window to the background and
    // cuts its outline from the mask. A missing or undecodable picture ends the program.
    void ApplySkin();
    // The background and mask files "SCREEN" names (one file when they are the same), for a
    // window that decodes them ahead of ApplySkin.
    [[nodiscard]] std::vector<QString> SkinPicturePaths();

    [[nodiscard]] int TemplateId() const { return templateId_; }
    [[nodiscard]] const std::string& IniPath() const { return iniPath_; }
    [[nodiscard]] const std::string& SkinFolder() const { return skinFolder_; }
    [[nodiscard]] const CIniFile& IniFile() const { return ini_; }
    [[nodiscard]] bool HasBackground() const { return !background_.isNull(); }
    // The size of the mask picture the outline was cut from (the picture itself is not kept).
    [[nodiscard]] QSize MaskSize() const { return maskSize_; }
    [[nodiscard]] bool IsApplyingSkin() const { return applyingSkin_; }
    // A window shown again and again (the key assignment window, opened for every key click)
    // keeps its two pictures between showings instead of loading them anew each time: OK and
    // Cancel do not release them, and ApplySkin reloads only when the skin names other files.
    void SetKeepSkin(bool keep) { keepSkin_ = keep; }

    void setVisible(bool visible) override;
    void done(int result) override;
    // OK and Cancel (also Esc) release the two pictures, then end the dialog.
    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }

  protected:
    // The window's initialisation: applies the skin. Derived windows call this first, then lay out
    // their controls.
    virtual void OnInitDialog();
    // Release the two pictures, then end the dialog.
    virtual void OnOK();
    virtual void OnCancel();

    void ReleaseImages();

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    struct PictureNames {
        std::string main;
        std::string mask;
    };
    PictureNames ReadPictureNames();
    QString SkinPicturePath(const std::string& name) const;

    int templateId_;
    QPixmap background_;
    QSize maskSize_;
    bool applyingSkin_ = false;
    bool keepSkin_ = false;
    std::string loadedPictures_;  // "main|mask" of the pictures held, when kept
    std::string iniPath_;
    std::string skinFolder_;
    CIniFile ini_;
    bool initialised_ = false;
    bool dragging_ = false;
    QPoint dragOffset_;
};

}  // namespace qx::skin
