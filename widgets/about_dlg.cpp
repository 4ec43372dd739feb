#include "widgets/about_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "lang/language.h"
#include "lang/language_keys.h"
#include "platform/system_messages.h"
#include "qx480_version.h"
#include "skin/font_faces.h"
#include "skin/skin_palette.h"
#include "widgets/program_icons.h"

namespace qx::widgets {
namespace {

namespace palette = skin::palette;

constexpr int kWidth = 460;
constexpr int kIconSize = 72;
constexpr int kMargin = 24;
constexpr int kAccentBarHeight = 3;
constexpr int kCornerRadius = 10;

QString Text(std::string_view key, int index) {
    return QString::fromStdString(lang::LoadLangText(key, index));
}

QString StyleSheet() {
    return QStringLiteral(
               "QLabel { color: #e4e4e4; background: transparent; font-family: '%1'; }"
               "QLabel#title { font-size: 15pt; font-weight: 600; }"
               "QLabel#copyright, QLabel#version { color: #7f8894; font-size: 8pt; }"
               "QPushButton { color: #ffffff; background: #0b8fb3; border: 1px solid #19d3ff;"
               "  border-radius: 4px; padding: 5px 28px; font-family: '%1'; }"
               "QPushButton:hover { background: #19a8d0; }"
               "QPushButton:pressed { background: #04161d; }")
        .arg(QString::fromUtf8(skin::kInstalledSansFace.data(),
                               static_cast<qsizetype>(skin::kInstalledSansFace.size())));
}

QPointer<CAboutDlg>& OpenAboutWindow() {
    static QPointer<CAboutDlg> window;
    return window;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(ProgramIcon(kProgramIconId));
    setStyleSheet(StyleSheet());
    setFixedWidth(kWidth);

    auto* icon = new QLabel(this);
    icon->setPixmap(PaintProgramIcon(kProgramIconId, kIconSize));
    icon->setFixedSize(kIconSize, kIconSize);
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("title"));
    auto* version = new QLabel(
        QStringLiteral("v") + QString::fromUtf8(kProgramVersion.data(),
                                                static_cast<qsizetype>(kProgramVersion.size())),
        this);
    version->setObjectName(QStringLiteral("version"));
    description_ = new QLabel(this);
    description_->setWordWrap(true);
    copyright_ = new QLabel(this);
    copyright_->setObjectName(QStringLiteral("copyright"));
    copyright_->setWordWrap(true);
    okButton_ = new QPushButton(this);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(10);
    auto* heading = new QVBoxLayout;
    heading->setSpacing(2);
    heading->addWidget(title_);
    heading->addWidget(version);
    texts->addLayout(heading);
    texts->addWidget(description_);
    texts->addWidget(copyright_);
    auto* body = new QHBoxLayout;
    body->setSpacing(kMargin);
    body->addWidget(icon, 0, Qt::AlignTop);
    body->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin + kAccentBarHeight, kMargin, kMargin - 6);
    layout->setSpacing(18);
    layout->addLayout(body);
    layout->addLayout(buttons);

    messages_.AddHandler(lang::kLanguageMessage,
                         lang::MakeLanguageHandler([this](int index) { ApplyLanguage(index); }));
    messages_.AddHandler(platform::kCloseMessage,
                         [this](platform::MessageWParam, platform::MessageLParam) {
                             close();
                             return platform::MessageResult{0};
                         });
    ApplyLanguage(lang::GetLanguageIndex());
}

CAboutDlg::~CAboutDlg() = default;

std::shared_ptr<platform::MessageTarget> CAboutDlg::Target() const {
    return messages_.Target();
}

void CAboutDlg::ApplyLanguage(int index) {
    const QString caption = Text(lang::kLangAboutTitle, index);
    setWindowTitle(caption);
    title_->setText(caption);
    description_->setText(Text(lang::kGuanyuJieshao, index));
    copyright_->setText(Text(lang::kGuanyuBanquan, index));
    okButton_->setText(Text(lang::kLangAboutOk, index));
    adjustSize();
}

QString CAboutDlg::Caption() const {
    return windowTitle();
}

QString CAboutDlg::Description() const {
    return description_->text();
}

QString CAboutDlg::Copyright() const {
    return copyright_->text();
}

void CAboutDlg::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor::fromRgb(palette::kWindow));
    QPainterPath panel;
    panel.addRoundedRect(QRectF(rect()).adjusted(6, 6, -6, -6), kCornerRadius, kCornerRadius);
    painter.fillPath(panel, QColor::fromRgb(palette::kPanel));
    painter.setPen(QPen(QColor::fromRgb(palette::kPanelEdge), 1));
    painter.drawPath(panel);
    painter.fillRect(
        QRect(6 + kCornerRadius, 6, width() - 12 - 2 * kCornerRadius, kAccentBarHeight),
        QColor::fromRgb(palette::kAccent));
}

CAboutDlg* ShowAboutWindow(QWidget* parent) {
    CloseAboutWindow();
    auto* window = new CAboutDlg(parent);
    OpenAboutWindow() = window;
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

CAboutDlg* AboutWindow() {
    return OpenAboutWindow().data();
}

bool CloseAboutWindow() {
    QPointer<CAboutDlg>& window = OpenAboutWindow();
    if (!window.isNull()) {
        window->close();  // deletes itself
        window.clear();
    }
    return true;
}

}  // namespace qx::widgets
