// The main window's private messages and timers. Each handler checks the four-character code
// its message carries and ignores the message when it is another one.
#include <QComboBox>
#include <cstdio>

#include "app/main_window_port.h"
#include "keyassign/key_location.h"
#include "lang/language.h"
#include "lang/language_keys.h"
#include "lighting/panel/bitmap_slider.h"
#include "lighting/panel/lighting_panel.h"
#include "mainwnd/main_ids.h"
#include "mainwnd/quilvane_dlg.h"
#include "platform/ini_file.h"
#include "platform/system_messages.h"
#include "skin/png_button.h"
#include "widgets/menu_resources.h"
#include "widgets/tray_icon.h"
#include "widgets/tray_state.h"

namespace qx::mainwnd {
namespace {

using platform::MessageLParam;
using platform::MessageResult;
using platform::MessageWParam;

// A handler that runs `action` only for the expected code.
platform::MessageHandler WithCode(uint32_t code, std::function<void()> action) {
    return [code, action = std::move(action)](MessageWParam wParam, MessageLParam) {
        if (wParam == code) {
            action();
        }
        return MessageResult{0};
    };
}

struct TextOfControl {
    int id;
    std::string_view key;
};
// Captions renewed by the language message, drawn in the caption style.
constexpr std::array<TextOfControl, 8> kLanguageCaptions{{
    {kIdProfileButtons[0], lang::kProfile1},
    {kIdProfileButtons[1], lang::kProfile2},
    {kIdProfileButtons[2], lang::kProfile3},
    {kIdMacro, lang::kProfileMacro},
    {kIdDefault, lang::kProfileDefault},
    {kIdOk, lang::kProfileOk},
    {kIdCancel, lang::kProfileCancle},
    {kIdApply, lang::kProfileApply},
}};
constexpr std::array<TextOfControl, 3> kLanguageTooltips{{
    {kIdMinimize, lang::kMainMinimizePrompt},
    {kIdMenu, lang::kMainMenuPrompt},
    {kIdClose, lang::kMainClosePrompt},
}};

// For whoever started the driver without a notification area to show it in (a terminal, the
// session's log): how to reach it meanwhile.
constexpr const char* kNoNotificationAreaLine =
    "qx480-driver: this desktop has no notification area yet; the icon appears when one starts. "
    "Until then, start qx480-driver again to open its window.\n";

}  // namespace

// Every message but the progress picture's is held back while the window is busy with a
// transfer (BusyState::AddHeldHandler); the busy state posts the held ones again when it ends.
void CQuilvaneDlg::RegisterMessageHandlers() {
    busy_.AddHeldHandler(kInitMessage, WithCode(kInitCode, [this] { OnInit(); }));
    busy_.AddHeldHandler(kKillMessage, WithCode(kKillCode, [this] { RunExitSequence(); }));
    busy_.AddHeldHandler(kOpenMessage, WithCode(kOpenCode, [this] { OnShowRequest(); }));
    busy_.AddHeldHandler(kProfileReadMessage,
                         WithCode(kProfileReadCode, [this] { OnProfileRead(); }));
    busy_.AddHeldHandler(kBankMessage, WithCode(kBankCode, [this] { OnBankSwitched(); }));
    busy_.AddHeldHandler(kKeyboardLeftMessage,
                         WithCode(kKeyboardLeftCode, [this] { OnKeyboardLeft(); }));
    busy_.AddHeldHandler(kLanguageMessage,
                         lang::MakeLanguageHandler([this](int index) { OnLanguage(index); }));
    busy_.AddHeldHandler(lighting::panel::kSliderMessage,
                         [this](MessageWParam wParam, MessageLParam lParam) {
                             lighting_->Panel().HandleSliderMessage(wParam, lParam);
                             return MessageResult{0};
                         });
    busy_.AddHeldHandler(platform::kCommandMessage, [this](MessageWParam wParam, MessageLParam) {
        OnCommand(static_cast<int>(wParam));
        return MessageResult{0};
    });
    busy_.AddHeldHandler(platform::kSysCommandMessage, [this](MessageWParam wParam, MessageLParam) {
        OnSysCommand(static_cast<int>(wParam));
        return MessageResult{0};
    });
    messages_->AddHandler(kProgressPictureMessage,
                          [this](MessageWParam wParam, MessageLParam lParam) {
                              OnProgressPicture(wParam, lParam);
                              return MessageResult{0};
                          });
    messages_->SetTimerHandler([this](uint32_t timerId) { OnTimer(timerId); });
}

// 'INIT', the end of start-up: the tray icon (waiting for a notification area when there is none
// yet), the profile menu, then the window hides.
void CQuilvaneDlg::OnInit() {
    if (ended_) {
        return;
    }
    const platform::IniReadScope texts;
    tray_ = std::make_unique<widgets::CTrayIcon>(options_.trayEnvironment);
    tray_->Create(messages_.get(), app::kTrayCallbackMessage,
                  lang::LangText(lang::kKeyboardTrayDesc), kProgramIconId, app::kTrayIconId);
    if (!tray_->IsInArea()) {
        std::fputs(kNoNotificationAreaLine, stderr);
    }
    tray_->SetDefaultMenuItem(app::kTrayDefaultCommand);
    tray_->SetMenuCallback([](QMenu& menu) { widgets::LocaliseTrayMenu(menu); });
    trayState_ = std::make_unique<widgets::TrayIconState>([this](int iconId) {
        if (tray_) {
            tray_->SetIcon(iconId);
        }
    });
    RebuildProfileMenu(true);
    initDone_ = true;
    host_->SetInitDone();
    hide();
    busy_.DeliverStartUpHeldMessages();
    keyAssignment_.PrepareWhenIdle(options_.keyAssignmentDelay, [this] { return busy_.IsBusy(); });
}

// 'PROF': the keyboard was read. The image comes back from the keyboard, the profile buttons show
// the active profile (none while it is unknown), and the refresh of a profile switch follows.
void CQuilvaneDlg::OnProfileRead() {
    if (ended_) {
        return;
    }
    profileSwitch_.AfterProfileRead();
}

// 'LED': the keyboard switched its G-key bank. Only the nine G keys' marks follow.
void CQuilvaneDlg::OnBankSwitched() {
    keyView_.ShowGKeyMarks(keyassign::CurrentBlockSelection());
}

// 'LANG': the sub-windows first, then the window's own texts.
void CQuilvaneDlg::OnLanguage(int languageIndex) {
    subWindows_.ForwardLanguage(languageIndex);
    lighting_->Panel().ApplyLanguage(languageIndex);
    for (const TextOfControl& tip : kLanguageTooltips) {
        Button(tip.id)->SetTooltip(
            QString::fromStdString(lang::LoadLangText(tip.key, languageIndex)), true);
    }
    for (const TextOfControl& caption : kLanguageCaptions) {
        Button(caption.id)
            ->setText(QString::fromStdString(lang::LoadLangText(caption.key, languageIndex)));
        layout_.ApplyCaptionStyle(caption.id);
    }
}

// 0x4753: the keyboard left. Open sub-windows close (a refusal changes nothing here), and the
// focus passes through the mode list so that an open drop-down closes.
void CQuilvaneDlg::OnKeyboardLeft() {
    subWindows_.CloseAll();
    lighting_->Panel().ModeList()->hidePopup();
    lighting_->Panel().ModeList()->setFocus();
    setFocus();
}

// Timer 1050 steps the busy animation; timer 1051 (the keyboard changed its lighting with its
// own keys) runs once, and waits for the end of a transfer.
void CQuilvaneDlg::OnTimer(uint32_t timerId) {
    switch (timerId) {
        case kBusyAnimationTimer:
            lighting_->Panel().StepProgress();
            break;
        case kLightingRefreshTimer:
            messages_->KillWindowTimer(kLightingRefreshTimer);
            if (busy_.IsBusy()) {
                busy_.HoldLightingRefresh();
            } else {
                lighting_->Panel().RefreshAfterKeyboardChange();
            }
            break;
        default:
            break;
    }
}

// The busy indicator shows or hides the progress picture.
void CQuilvaneDlg::OnProgressPicture(MessageWParam code, MessageLParam shown) {
    if (code == kProgressPictureCode) {
        lighting_->Panel().ShowProgress(shown != 0);
    }
}

}  // namespace qx::mainwnd
