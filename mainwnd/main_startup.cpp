// The main window's start-up (OnInitDialog), each step using what the earlier ones made: the
// skin, the device connection, the default image, the sheets and the layout, the window's
// style and tag, the caption, the language, the layer list, and 'INIT' posted last.
//
// Two steps a Windows build needs have no counterpart here and are left out: the system menu
// (a frameless window has none; a right click on the window's background offers "&About..."
// instead, see contextMenuEvent) and the resolution of SetLayeredWindowAttributes (Qt's
// window opacity needs nothing resolved at run time).
#include <QAbstractButton>

#include "device/connection/current_profile.h"
#include "device/connection/device_session.h"
#include "keyboard/image_holders.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "lighting/panel/lighting_panel.h"
#include "lighting/panel/panel_bitmaps.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"
#include "platform/data_folder.h"
#include "platform/ini_file.h"
#include "platform/qt_prompt.h"
#include "profiles/profile_file.h"
#include "skin/png_button.h"
#include "widgets/program_icons.h"

namespace qx::mainwnd {

void CQuilvaneDlg::OnInitDialog() {
    // The skin file and the language file are read once for the whole start-up.
    const platform::IniReadScope skinAndTexts;
    CBaseDialog::OnInitDialog();
    startUpPictures_.reset();
    setWindowIcon(widgets::ProgramIcon(kProgramIconId));
    if (options_.prompt != nullptr) {
        options_.prompt->SetOwner(this);
    }
    // The connection state: the window as workers reach it, the profile not known yet.
    platform::SetMainWindowTarget(Target());
    device::CurrentProfile().Forget();
    StartDevice();
    {
        const keyboard::ImageGuard guard = keyboard::Images().LockImage();
        guard->texts.ClearAll();
        profiles::WriteDefaultProfileFile(std::nullopt, 0, true);
    }
    SetApplyEnabled(false);
    BuildSheets();
    LayOut();
    platform::EnsureDataFolder();
    ApplyWindowStyle(false);
    app::PublishInstanceWindow(Target(), kMainWindowTag);
    setWindowTitle(QString::fromStdString(lang::LangText(lang::kMainCaption)));
    // The device session created the named events of the connection when it started.
    messages_->SendWindowMessage(kLanguageMessage, kLanguageCode, lang::GetLanguageIndex());
    lighting_->Panel().FillLayerList(lang::GetLanguageIndex());
    messages_->PostWindowMessage(kInitMessage, kInitCode, 0);
}

// The background and the mask first: the panel's bitmaps are asked for earlier, while the
// controls are made, and what the thread has not reached by then is decoded on this thread.
std::unique_ptr<skin::PicturePrefetch> CQuilvaneDlg::PrefetchStartUpPictures() {
    std::vector<QString> paths = SkinPicturePaths();
    for (QString& path : lighting::panel::PanelBitmapPaths(SkinFolder())) {
        paths.push_back(std::move(path));
    }
    return std::make_unique<skin::PicturePrefetch>(std::move(paths));
}

// Binds the transport (the process ends with exit code 0 when it cannot) and starts the
// connection; the lighting model works over the same commands, with the panel as its view.
void CQuilvaneDlg::StartDevice() {
    session_ = &options_.startDevice(*host_, options_.startedWithStart);
    lighting_->Connect(session_->Commands());
}

void CQuilvaneDlg::BuildSheets() {
    sheets_.Build(SkinFolder(), size());
}

void CQuilvaneDlg::LayOut() {
    links_ = ReadLinkTargets(IniPath());
    layout_.PlaceAll(IniPath(), links_);
    hoverGroups_->Install();
}

void CQuilvaneDlg::ApplyWindowStyle(bool appWindow) {
    const Qt::WindowFlags wanted = (appWindow ? Qt::Window : Qt::Tool) | Qt::FramelessWindowHint;
    if (windowFlags() != wanted) {
        setWindowFlags(wanted);
    }
}

void CQuilvaneDlg::WireButtons() {
    for (const int id : controls_.ButtonIds()) {
        connect(Button(id), &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    }
}

}  // namespace qx::mainwnd
