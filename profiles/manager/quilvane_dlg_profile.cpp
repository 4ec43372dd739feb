#include "profiles/manager/quilvane_dlg_profile.h"

#include <QKeyEvent>
#include <new>
#include <optional>

#include "device/connection/current_profile.h"
#include "keyboard/image_layout.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "lang/text_format.h"
#include "platform/data_folder.h"
#include "platform/prompt.h"
#include "profiles/manager/profile_manager_ids.h"
#include "profiles/profile_file.h"
#include "profiles/profile_format.h"
#include "skin/font_faces.h"
#include "skin/picture_file.h"
#include "skin/placement.h"
#include "skin/png_button.h"
#include "skin/report_ctrl.h"
#include "skin/skin_files.h"
#include "skin/skin_font.h"
#include "skin/skin_palette.h"

namespace qx::profiles::manager {
namespace {

// The buttons and the skin keys that place them.
struct ButtonKey {
    int id;
    std::string_view skinKey;
};
constexpr std::array<ButtonKey, 6> kButtonKeys{{
    {kIdAdd, "FUNC_ADD"},
    {kIdLoad, "FUNC_LOAD"},
    {kIdDelete, "FUNC_DELETE"},
    {kIdOk, "CONTROL_OK"},
    {kIdCancel, "CONTROL_CANCEL"},
    {kIdApply, "CONTROL2_APPLY"},
}};
constexpr std::string_view kListSkinKey = "PROGRAM_LIST";

constexpr double kListFontPoints = 9;

enum SheetIndex : std::size_t { kNormalSheet, kOverSheet, kDownSheet };

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsOnboardProfile(int row) {
    return row >= 0 && row < keyboard::kProfileCount;
}

}  // namespace

CQuilvane_DlgProfile::CQuilvane_DlgProfile(ProfileManagerHost& host, std::string iniPath,
                                           std::string skinFolder, QWidget* parent)
    : CBaseDialog(kProfileTemplateId, parent, std::move(iniPath), std::move(skinFolder)),
      host_(host) {
    MakeControls();
    SetUpList();
    // The list in the skin's colours, as the window's other plain widgets would be.
    setStyleSheet(skin::palette::PlainWidgetStyleSheet());
    ApplyLanguage(lang::GetLanguageIndex());
}

CQuilvane_DlgProfile::~CQuilvane_DlgProfile() = default;

void CQuilvane_DlgProfile::MakeControls() {
    list_ = new skin::CReportCtrl(this);
    for (const ButtonKey& key : kButtonKeys) {
        buttons_[key.id] = new skin::CPngButton(this);
    }
    auto* hidden = new skin::CPngButton(this);
    hidden->hide();
    buttons_[kIdHidden] = hidden;

    connect(Button(kIdAdd), &QAbstractButton::clicked, this, &CQuilvane_DlgProfile::OnAdd);
    connect(Button(kIdLoad), &QAbstractButton::clicked, this, &CQuilvane_DlgProfile::OnLoad);
    connect(Button(kIdDelete), &QAbstractButton::clicked, this, &CQuilvane_DlgProfile::OnDelete);
    connect(Button(kIdApply), &QAbstractButton::clicked, this, &CQuilvane_DlgProfile::OnApply);
    connect(Button(kIdOk), &QAbstractButton::clicked, this, [this] { OnOK(); });
    connect(Button(kIdCancel), &QAbstractButton::clicked, this, [this] { OnCancel(); });
}

// The list lives as long as the dialog, so its columns and styles are set once; its rows are
// made at each showing.
void CQuilvane_DlgProfile::SetUpList() {
    for (std::size_t c = 0; c < kProfileColumns.size(); ++c) {
        list_->InsertColumn(static_cast<int>(c), Utf8(kProfileColumns[c].heading),
                            skin::kColumnLeft, kProfileColumns[c].width);
    }
    list_->SetGridLines(true);
    list_->setTextElideMode(Qt::ElideMiddle);
    list_->SetCheckboxStyle(skin::kCheckboxSingle);
    list_->SetCheckChangedHook(
        [this](int /*row*/, skin::CReportCtrl& /*list*/) { SetChanged(true); });
    list_->SetOwner(this);
    list_->SetHeaderButtons(false);
}

void CQuilvane_DlgProfile::ApplyLanguage(int languageIndex) {
    setWindowTitle(
        QString::fromStdString(lang::LoadLangText(lang::kProfileManagerTitle, languageIndex)));
}

skin::CPngButton* CQuilvane_DlgProfile::Button(int controlId) const {
    const auto found = buttons_.find(controlId);
    return found == buttons_.end() ? nullptr : found->second;
}

std::vector<ProfileRow> CQuilvane_DlgProfile::Rows() const {
    std::vector<ProfileRow> rows;
    rows.reserve(static_cast<std::size_t>(list_->rowCount()));
    for (int r = 0; r < list_->rowCount(); ++r) {
        rows.push_back(ProfileRow{list_->GetCellText(r, kColumnName).toStdString(),
                                  list_->GetCellText(r, kColumnFolder).toStdString()});
    }
    return rows;
}

// ---- showing and closing ---------------------------------------------------------------------

void CQuilvane_DlgProfile::OnInitDialog() {
    CBaseDialog::OnInitDialog();
    ++openCount_;
    ApplyLanguage(lang::GetLanguageIndex());
    list_->setFont(skin::MakeSkinFont(skin::kFaceArialUnicode, kListFontPoints, logicalDpiY()));
    BuildSheetsOnce();
    PlaceControls();
    FillProfileList(true);
    list_->setFocus();
}

// A picture that cannot be decoded leaves its sheet blank; only memory that cannot be had for one
// ends the program.
void CQuilvane_DlgProfile::BuildSheetsOnce() {
    if (sheetsBuilt_) {
        return;
    }
    const std::array<std::string_view, 3> files{skin::files::kProfileSheets.normal,
                                                skin::files::kProfileSheets.over,
                                                skin::files::kProfileSheets.down};
    try {
        for (std::size_t i = 0; i < files.size(); ++i) {
            sheets_[i] = skin::BuildSkinSheetFromFile(
                QString::fromStdString(SkinFolder() + std::string(files[i])), size());
        }
    } catch (const std::bad_alloc&) {
        skin::EndProgramForSkin();
    }
    sheetsBuilt_ = true;
}

void CQuilvane_DlgProfile::PlaceControls() {
    skin::PlaceControl(*list_, IniPath(), kListSkinKey);
    // Disabled and pressed share the down picture; the marked face is the normal one.
    const skin::SheetSet set{&sheets_[kNormalSheet], &sheets_[kOverSheet], &sheets_[kDownSheet],
                             &sheets_[kDownSheet], &sheets_[kNormalSheet]};
    for (const ButtonKey& key : kButtonKeys) {
        const skin::SkinRect rect =
            skin::PlaceImageButton(*Button(key.id), IniPath(), key.skinKey, set);
        if (key.id == kIdApply) {
            applyUnused_ = rect.IsUnused();
        }
    }
}

void CQuilvane_DlgProfile::FillProfileList(bool keepRows) {
    if (!keepRows) {
        list_->DeleteRows(skin::kRowAll);
    }
    for (int i = 0; i < keyboard::kProfileCount; ++i) {
        list_->InsertRow(i, QString());
        SetRowCells(i, ProfileRowOfPath(GetStorePath(i)));
    }
    const int profile = device::GetCurrentProfile();
    if (IsOnboardProfile(profile)) {
        list_->SetRowStates(profile, skin::kRowChecked);
    }
    SetChanged(false);
}

void CQuilvane_DlgProfile::OnOK() {
    OnApply();
    Leave();
    CBaseDialog::OnOK();
}

void CQuilvane_DlgProfile::OnCancel() {
    Leave();
    CBaseDialog::OnCancel();
}

// The rows live while the window is shown: the next showing starts from the onboard profiles.
void CQuilvane_DlgProfile::Leave() {
    SetChanged(false);
    if (openCount_ > 0) {
        --openCount_;
    }
    list_->DeleteRows(skin::kRowAll);
}

void CQuilvane_DlgProfile::CloseProfileManagerIfOpen() {
    if (IsOpen()) {
        OnCancel();
    }
}

void CQuilvane_DlgProfile::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        if (!event->isAutoRepeat()) {
            host_.OpenHelp();
        }
        event->accept();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

// ---- the list --------------------------------------------------------------------------------

void CQuilvane_DlgProfile::SetChanged(bool changed) {
    changed_ = changed;
    Button(kIdApply)->setEnabled(changed && !applyUnused_);
}

void CQuilvane_DlgProfile::OnProfileSwitched(int profile) {
    if (!IsOpen()) {
        return;
    }
    list_->SetAllRowStates(skin::kRowChecked, skin::kRowNotChecked);
    if (profile >= 0 && profile < list_->rowCount()) {
        list_->SetRowStates(profile, skin::kRowChecked);
    }
    SetChanged(false);
}

void CQuilvane_DlgProfile::AppendRow(const ProfileRow& row) {
    SetRowCells(list_->InsertRow(list_->rowCount(), QString()), row);
    SetChanged(true);
}

// A long folder keeps its end in sight; the whole path is the cells' tooltip.
void CQuilvane_DlgProfile::SetRowCells(int at, const ProfileRow& row) {
    list_->SetCellText(at, kColumnName, QString::fromStdString(row.name));
    list_->SetCellText(at, kColumnFolder, QString::fromStdString(row.folder));
    const QString path = QString::fromStdString(RowFilePath(row));
    for (const int column : {kColumnName, kColumnFolder}) {
        list_->item(at, column)->setToolTip(path);
    }
}

// A new profile file with the default content. A file that cannot be written gets no row: the
// list would name a file that is not there.
void CQuilvane_DlgProfile::OnAdd() {
    EnsureDataFolder();
    const std::string suggested = platform::DataFolderPath() + lang::LangText(lang::kProfileNew);
    const std::optional<std::string> path =
        platform::CurrentPrompt().SaveFile(AddDialogOptions(suggested));
    if (!path || !IsOpen()) {
        return;  // cancelled, or the window was closed while the dialog was open
    }
    if (WriteDefaultProfileFile(*path, kWriterFlag, false) != 1) {
        platform::CurrentPrompt().ShowMessage(
            lang::FormatText(lang::LangText(lang::kProfileNewError), {*path}));
        return;
    }
    AppendRow(ProfileRowOfPath(*path));
}

// An existing file gets a row; it is neither read nor checked.
void CQuilvane_DlgProfile::OnLoad() {
    EnsureDataFolder();
    const std::optional<std::string> path =
        platform::CurrentPrompt().OpenFile(LoadDialogOptions(platform::DataFolderPath()));
    if (path && IsOpen()) {
        AppendRow(ProfileRowOfPath(*path));
    }
}

void CQuilvane_DlgProfile::OnDelete() {
    const int row = list_->FindNextRow(skin::kRowSelected);
    if (row < 0) {
        return;
    }
    list_->DeleteRow(row, true);
    SetChanged(true);
}

// The checked row becomes the keyboard's active profile without the question a switch from the
// main window asks: the user has just decided. The keyboard holds three profiles: a checked row
// below them is never sent as a profile number; it is a select the keyboard did not take, and
// the active profile is unknown until the keyboard is asked again.
void CQuilvane_DlgProfile::OnApply() {
    WriteProfileList(Rows());
    const int checked = list_->FindNextRow(skin::kRowChecked);
    int selected = device::kUnknownProfile;
    if (IsOnboardProfile(checked)) {
        device::SetCurrentProfile(checked);
        selected = checked;
    } else if (checked >= 0) {
        device::CurrentProfile().Forget();
    }
    host_.ReloadImageFromKeyboard(false);
    SetChanged(false);
    host_.SetApplyEnabled(false);
    // Lighting, profile buttons, key buttons and the profile menu follow the profile now active.
    host_.RefreshAfterProfileSwitch(selected);
}

}  // namespace qx::profiles::manager
