// The main window's members, lookups and the side of it the device connection reaches
// (HostWindow); the factory the shell calls.
#include "mainwnd/quilvane_dlg.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QUrl>
#include <utility>

#include "device/connection/device_session.h"
#include "lighting/panel/lighting_panel.h"
#include "mainwnd/main_ids.h"
#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "skin/png_button.h"
#include "widgets/menu_resources.h"
#include "widgets/profile_menu.h"
#include "widgets/tray_icon.h"
#include "widgets/tray_state.h"

namespace qx::mainwnd {
namespace {

void FillDefaults(MainWindowOptions& options) {
    if (!options.startDevice) {
        options.startDevice = [](device::ConnectionHost& host,
                                 bool startedWithStart) -> device::DeviceSession& {
            return device::StartDeviceConnection(host, startedWithStart);
        };
    }
    if (!options.openUrl) {
        options.openUrl = [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };
    }
    if (!options.openHelp) {
        options.openHelp = [] { app::OpenHelp(); };
    }
    if (!options.trackButtonMenu) {
        options.trackButtonMenu = [](QMenu& menu) {
            return widgets::CommandOf(menu.exec(QCursor::pos()));
        };
    }
}

}  // namespace

CQuilvaneDlg::CQuilvaneDlg(MainWindowOptions options, QWidget* parent)
    : CBaseDialog(kMainTemplateId, parent, platform::GetProgramPaths().mainSkinFile,
                  platform::GetProgramPaths().mainSkinFolder),
      startUpPictures_(PrefetchStartUpPictures()),
      options_(std::move(options)),
      messages_(std::make_unique<platform::MessageWindow>()),
      host_(std::make_unique<MainConnectionHost>(static_cast<HostWindow&>(*this), *messages_)),
      busy_(*this, *messages_, options_.busyTiming, MakeBusyHoldRules()),
      controls_(*this),
      layout_(controls_, sheets_),
      keyView_(controls_, [this] { layout_.ApplyFlipState(); }),
      hoverGroups_(new HoverGroups(controls_, layout_, this)),
      profileSwitch_(MakeProfileSwitchHost(), subWindows_),
      keyAssignment_(*this, controls_, sheets_, layout_, subWindows_, MakeCompositeHost(),
                     [this] { return ended_; }) {
    const platform::IniReadScope skinAndTexts;
    FillDefaults(options_);
    // The panel's controls go on top of the keyboard view; its model is made with the device
    // session at start-up (StartDevice).
    lighting_ = std::make_unique<LightingLink>(
        *this, lighting::panel::PanelSkin{IniPath(), SkinFolder()}, controls_, keyView_,
        [this] { return messages_ ? messages_->Target() : nullptr; });
    // A tool window has no taskbar entry; a show request makes it an application window.
    ApplyWindowStyle(false);
    RegisterMessageHandlers();
    RegisterSubWindows();
    WireButtons();
    qApp->installEventFilter(this);
}

CQuilvaneDlg::~CQuilvaneDlg() {
    Shutdown();
}

// The window's message loop is the program's main loop: it runs until the exit sequence ends the
// window. The window stays hidden; QDialog::exec would end its loop whenever the window hides.
int CQuilvaneDlg::RunModal() {
    EnsureInitialised();
    if (!ended_) {
        QEventLoop loop;
        runLoop_ = &loop;
        loop.exec();
        runLoop_ = nullptr;
    }
    return result();
}

std::shared_ptr<platform::MessageTarget> CQuilvaneDlg::Target() const {
    return messages_->Target();
}

skin::CPngButton* CQuilvaneDlg::Button(int controlId) const {
    return controls_.Button(controlId);
}

QWidget* CQuilvaneDlg::Control(int controlId) const {
    if (skin::CPngButton* button = controls_.Button(controlId)) {
        return button;
    }
    return lighting_->Panel().Control(controlId);
}

void CQuilvaneDlg::RefreshKeyButtons() {
    keyView_.RefreshKeyButtons();
}

void CQuilvaneDlg::RefreshKeyHints() {
    keyView_.RefreshKeyHints();
}

// ---- HostWindow: the device connection's requests, on the user-interface thread ------------

void CQuilvaneDlg::HideForDevice() {
    hide();
}

void CQuilvaneDlg::ApplyTrayState(int mode, int iconId) {
    if (trayState_) {
        trayState_->SetTrayState(mode, iconId);
    }
}

void CQuilvaneDlg::ApplyControlCaption(int controlId, const std::string& caption) {
    if (skin::CPngButton* button = Button(controlId)) {
        button->setText(QString::fromStdString(caption));
    }
}

// The bank indicator shows bank 1 with its marked sheet (the over picture) and bank 0 plain.
void CQuilvaneDlg::ApplyBankPicture(int bank) {
    Button(kIdBankIndicator)->SetMarked(bank != 0);
}

std::unique_ptr<CQuilvaneDlg> MakeMainWindow(MainWindowOptions options) {
    return std::make_unique<CQuilvaneDlg>(std::move(options));
}

}  // namespace qx::mainwnd

namespace qx::app {

std::unique_ptr<MainWindowPort> CreateMainWindow(const MainWindowStart& start) {
    mainwnd::MainWindowOptions options;
    options.startedWithStart = start.startedWithStart;
    options.prompt = start.prompt;
    return mainwnd::MakeMainWindow(std::move(options));
}

}  // namespace qx::app
