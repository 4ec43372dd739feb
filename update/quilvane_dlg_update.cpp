#include "update/quilvane_dlg_update.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QStringList>
#include <optional>
#include <utility>

#include "device/link/device_commands.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "platform/program_paths.h"
#include "platform/prompt.h"
#include "profiles/profile_file.h"
#include "profiles/profile_file_dialogs.h"
#include "skin/font_faces.h"
#include "skin/placement.h"
#include "skin/png_button.h"
#include "skin/skin_files.h"
#include "skin/skin_font.h"
#include "skin/skin_palette.h"
#include "update/update_prompts.h"
#include "update/updater_launch.h"

namespace qx::update {
namespace {

namespace files = skin::files;

constexpr double kPathPoints = 9;

struct ButtonPlace {
    int id;
    const char* skinKey;
};

constexpr std::array<ButtonPlace, 4> kButtonPlaces{{
    {kIdOpen, "CONTROL_OPENButton"},
    {kIdBackup, "CONTROL_BACKUPButton"},
    {kIdUpdate, "CONTROL_UPButton"},
    {kIdCancelUpdate, "CONTROL_CUPButton"},
}};
constexpr const char* kPathKey = "CONTROL_UPStatic";
constexpr const char* kComboKey = "CONTROL_UPCombox";

void ShowFixedMessage(std::string_view text) {
    platform::CurrentPrompt().ShowMessage(std::string(text));
}

// Detached, in the process's current folder (the Package folder after an Open).
bool StartUpdater(const UpdaterLaunch& launch) {
    QStringList arguments;
    for (const std::string& argument : launch.arguments) {
        arguments << QString::fromStdString(argument);
    }
    return QProcess::startDetached(QString::fromStdString(launch.program), arguments);
}

}  // namespace

CQuilvane_DlgUpdate::CQuilvane_DlgUpdate(device::DeviceCommands* commands, QWidget* parent)
    : skin::CBaseDialog(kUpdateTemplateId, parent, platform::GetProgramPaths().updateSkinFile,
                        platform::GetProgramPaths().updateSkinFolder),
      commands_(commands),
      packageFolder_(platform::GetProgramPaths().packagePath) {
    setModal(true);
    pathLabel_ = new QLabel(this);
    pathLabel_->setTextFormat(Qt::PlainText);
    pathLabel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    skin::palette::ApplyLabelColours(*pathLabel_);
    pathLabel_->setAttribute(Qt::WA_TranslucentBackground);
    unusedCombo_ = new QComboBox(this);
    unusedCombo_->hide();
    for (std::size_t i = 0; i < kButtonPlaces.size(); ++i) {
        buttons_[i] = new skin::CPngButton(this);
    }
    connect(Button(kIdOpen), &skin::CPngButton::clicked, this, &CQuilvane_DlgUpdate::OnOpen);
    connect(Button(kIdBackup), &skin::CPngButton::clicked, this, &CQuilvane_DlgUpdate::OnBackup);
    connect(Button(kIdUpdate), &skin::CPngButton::clicked, this, &CQuilvane_DlgUpdate::OnUpdate);
    connect(Button(kIdCancelUpdate), &skin::CPngButton::clicked, this,
            &CQuilvane_DlgUpdate::OnCancelUpdate);
}

CQuilvane_DlgUpdate::~CQuilvane_DlgUpdate() = default;

skin::CPngButton* CQuilvane_DlgUpdate::Button(int controlId) const {
    for (std::size_t i = 0; i < kButtonPlaces.size(); ++i) {
        if (kButtonPlaces[i].id == controlId) {
            return buttons_[i];
        }
    }
    return nullptr;
}

void CQuilvane_DlgUpdate::OnInitDialog() {
    skin::CBaseDialog::OnInitDialog();
    // The title the desktop shows (taskbar, window list), in the language of this showing.
    setWindowTitle(QString::fromStdString(lang::LangText(lang::kUpdateTitle)));
    BuildSheets();
    LayOut();
}

void CQuilvane_DlgUpdate::BuildSheets() {
    if (sheetsBuilt_) {
        return;
    }
    sheetsBuilt_ = true;
    const auto sheetOf = [this](std::string_view picture) {
        return skin::BuildSkinSheetFromFile(
            QString::fromStdString(SkinFolder() + std::string(picture)), size());
    };
    normalSheet_ = sheetOf(files::kUpdateSheets.normal);
    overSheet_ = sheetOf(files::kUpdateSheets.over);
}

void CQuilvane_DlgUpdate::LayOut() {
    const skin::SheetSet sheets{&normalSheet_, &overSheet_, &overSheet_, &overSheet_, &overSheet_};
    for (std::size_t i = 0; i < kButtonPlaces.size(); ++i) {
        skin::PlaceImageButton(*buttons_[i], IniPath(), kButtonPlaces[i].skinKey, sheets);
    }
    skin::PlaceControl(*pathLabel_, IniPath(), kPathKey);
    skin::PlaceControl(*unusedCombo_, IniPath(), kComboKey);
    pathLabel_->setFont(skin::MakeSkinFont(skin::kFaceArialUnicode, kPathPoints, logicalDpiY()));
    ShowUpdaterPath();
}

void CQuilvane_DlgUpdate::SetUpdaterPath(std::string path) {
    updaterPath_ = std::move(path);
    ShowUpdaterPath();
}

// A path too long for the label keeps its end (the file's name) and shows all of it as a tip.
void CQuilvane_DlgUpdate::ShowUpdaterPath() {
    const QString path = QString::fromStdString(updaterPath_);
    pathLabel_->setText(
        pathLabel_->fontMetrics().elidedText(path, Qt::ElideLeft, pathLabel_->width()));
    pathLabel_->setToolTip(path);
}

void CQuilvane_DlgUpdate::OnOpen() {
    const std::optional<std::string> chosen =
        platform::CurrentPrompt().OpenFile(UpdaterDialogOptions(packageFolder_));
    SetUpdaterPath(chosen.value_or(std::string()));
    // Whatever the answer, the updater later runs in the Package folder (a missing folder leaves
    // the current one as it was).
    QDir::setCurrent(QString::fromStdString(packageFolder_));
    repaint();
}

void CQuilvane_DlgUpdate::OnBackup() {
    const std::optional<std::string> path =
        platform::CurrentPrompt().SaveFile(profiles::BackupDialogOptions());
    if (!path) {
        return;
    }
    const bool saved = profiles::SaveImageToFile(*path);
    ShowFixedMessage(saved ? kBackupDoneText : kBackupFailedText);
}

// The updater is checked before anything goes to the keyboard: once in boot mode the keyboard
// stays there until an updater takes it over, so one that cannot start must not get that far.
void CQuilvane_DlgUpdate::OnUpdate() {
    if (updaterPath_.empty() || !QFileInfo::exists(QString::fromStdString(updaterPath_))) {
        ShowFixedMessage(kChooseUpdaterText);
        return;
    }
    const std::optional<UpdaterLaunch> launch = PlanUpdaterLaunch(updaterPath_);
    if (!launch) {
        SetUpdaterPath({});
        ShowFixedMessage(kUpdaterFailedText);
        return;
    }
    // The transport gives the bytes it sent, so any positive result means the packet went out.
    const int sent = commands_ != nullptr ? commands_->EnterUpdateMode() : 0;
    if (sent <= 0) {
        ShowFixedMessage(kBootModeFailedText);
        return;
    }
    const bool started = StartUpdater(*launch);
    SetUpdaterPath({});
    if (started) {
        OnCancel();
        return;
    }
    ShowFixedMessage(kUpdaterFailedText);
}

void CQuilvane_DlgUpdate::OnCancelUpdate() {
    SetUpdaterPath({});
    OnCancel();
}

}  // namespace qx::update
