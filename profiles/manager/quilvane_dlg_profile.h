// CQuilvane_DlgProfile: the profile manager. A skinned dialog with the list of profile rows (the
// three onboard profiles first, then the files the user added or loaded), one of which may be
// checked as the active profile, and the buttons Add, Load, Delete, Apply, OK and Cancel.
// Apply writes the rows to the settings, makes the checked row the keyboard's active profile and
// has the main window reload the image and refresh itself (ProfileManagerHost).
//
// The main window owns it for the program's life and shows it modally as often as asked; the
// three state pictures are made into sheets the first time it opens and kept from then on.
#pragma once

#include <QString>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "profiles/manager/profile_manager_host.h"
#include "profiles/manager/profile_rows.h"
#include "skin/base_dialog.h"
#include "skin/skin_sheet.h"

class QKeyEvent;

namespace qx::skin {
class CPngButton;
class CReportCtrl;
}  // namespace qx::skin

namespace qx::profiles::manager {

class CQuilvane_DlgProfile final : public skin::CBaseDialog {
    Q_OBJECT

  public:
    // `iniPath` is "Skins/Profile.ini" of the run-time folder, `skinFolder` its folder.
    CQuilvane_DlgProfile(ProfileManagerHost& host, std::string iniPath, std::string skinFolder,
                         QWidget* parent = nullptr);
    ~CQuilvane_DlgProfile() override;
    CQuilvane_DlgProfile(const CQuilvane_DlgProfile&) = delete;
    CQuilvane_DlgProfile& operator=(const CQuilvane_DlgProfile&) = delete;

    // One row per onboard profile, each naming the profile store, the active one checked; the
    // rows added since are dropped unless `keepRows`. Leaves the list unchanged.
    void FillProfileList(bool keepRows);
    // Cancels the manager when it is open (the main window ends or the keyboard left).
    void CloseProfileManagerIfOpen();
    // A switch made elsewhere: the check moves to row `profile` (none for -1) and the list
    // counts as unchanged.
    void OnProfileSwitched(int profile);
    // The window title in the language of `languageIndex` (the language message).
    void ApplyLanguage(int languageIndex);

    [[nodiscard]] bool IsOpen() const { return openCount_ > 0; }
    [[nodiscard]] int OpenCount() const { return openCount_; }
    // The list holds edits that Apply has not written yet.
    [[nodiscard]] bool HasChanges() const { return changed_; }
    [[nodiscard]] skin::CReportCtrl& List() const { return *list_; }
    // The button with `controlId` (1, 2, 1008, 1010..1013), or null.
    [[nodiscard]] skin::CPngButton* Button(int controlId) const;
    // The rows as the list shows them.
    [[nodiscard]] std::vector<ProfileRow> Rows() const;

  protected:
    void OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void MakeControls();
    void SetUpList();
    void BuildSheetsOnce();
    void PlaceControls();
    void OnAdd();
    void OnLoad();
    void OnDelete();
    void OnApply();
    void AppendRow(const ProfileRow& row);
    void SetRowCells(int at, const ProfileRow& row);
    void SetChanged(bool changed);
    // The end of OK and Cancel: the window no longer counts as open.
    void Leave();

    ProfileManagerHost& host_;
    skin::CReportCtrl* list_ = nullptr;
    std::map<int, skin::CPngButton*> buttons_;
    // Normal, over, down (also the disabled face); made once, kept for the program's life.
    std::array<skin::SkinSheet, 3> sheets_{};
    bool sheetsBuilt_ = false;
    // The skin leaves Apply unused: it stays disabled whatever the list holds.
    bool applyUnused_ = false;
    bool changed_ = false;
    int openCount_ = 0;
};

}  // namespace qx::profiles::manager
