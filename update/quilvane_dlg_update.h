// CQuilvane_DlgUpdate: the firmware update window. The user picks an updater program, may back
// the configuration up to a profile file first, and Update puts the keyboard into its boot mode
// and starts the updater, which does the flashing; the window closes once the updater runs.
//
// The main window owns one for its whole life and shows it modally (command 32780). The updater
// path is kept from one showing to the next: it is emptied by Cancel update, by an Open that was
// cancelled and by every Update that got as far as starting the updater.
#pragma once

#include <QString>
#include <array>
#include <string>

#include "skin/base_dialog.h"
#include "skin/skin_sheet.h"

class QComboBox;
class QLabel;

namespace qx::device {
class DeviceCommands;
}
namespace qx::skin {
class CPngButton;
}

namespace qx::update {

inline constexpr int kUpdateTemplateId = 149;
inline constexpr int kIdUpdaterPath = 1179;  // coloured static text: the chosen updater
inline constexpr int kIdUnusedCombo = 1178;  // combo box: placed, never shown or filled
inline constexpr int kIdOpen = 1181;
inline constexpr int kIdBackup = 1182;
inline constexpr int kIdUpdate = 1147;
inline constexpr int kIdCancelUpdate = 1180;

class CQuilvane_DlgUpdate final : public skin::CBaseDialog {
    Q_OBJECT

  public:
    // `commands` reaches the keyboard (null: no keyboard link, boot mode cannot be entered).
    // The skin and the Package folder come from the program's paths.
    explicit CQuilvane_DlgUpdate(device::DeviceCommands* commands, QWidget* parent = nullptr);
    ~CQuilvane_DlgUpdate() override;
    CQuilvane_DlgUpdate(const CQuilvane_DlgUpdate&) = delete;
    CQuilvane_DlgUpdate& operator=(const CQuilvane_DlgUpdate&) = delete;

    // The four buttons' commands.
    void OnOpen();
    void OnBackup();
    void OnUpdate();
    void OnCancelUpdate();

    [[nodiscard]] const std::string& UpdaterPath() const { return updaterPath_; }
    [[nodiscard]] skin::CPngButton* Button(int controlId) const;
    [[nodiscard]] QLabel* PathLabel() const { return pathLabel_; }

  protected:
    void OnInitDialog() override;

  private:
    void BuildSheets();
    void LayOut();
    void SetUpdaterPath(std::string path);
    void ShowUpdaterPath();

    device::DeviceCommands* commands_;
    std::string packageFolder_;
    std::string updaterPath_;
    // The normal and the over picture; every state but normal shows the over sheet. Made the
    // first time the window initialises and kept for the program's life.
    skin::SkinSheet normalSheet_;
    skin::SkinSheet overSheet_;
    bool sheetsBuilt_ = false;
    QLabel* pathLabel_ = nullptr;
    QComboBox* unusedCombo_ = nullptr;
    std::array<skin::CPngButton*, 4> buttons_{};
};

}  // namespace qx::update
