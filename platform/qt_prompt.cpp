#include "platform/qt_prompt.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "platform/file_dialog_plan.h"

namespace qx::platform {
namespace {

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

// The filter whose entry in the type list reads `shown` (the label alone, when the details are
// hidden).
QString FilterShownAs(const QStringList& filters, const QString& shown) {
    for (const QString& filter : filters) {
        if (filter == shown || filter.startsWith(shown + QStringLiteral(" ("))) {
            return filter;
        }
    }
    return shown;
}

// A Qt name filter ("label (p1 p2)") one of whose patterns is "*".
bool IsEveryFileFilter(const QString& filter) {
    const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
    const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open) {
        return false;
    }
    const QStringList patterns =
        filter.mid(open + 1, close - open - 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return patterns.contains(QStringLiteral("*"));
}

// Qt adds the default extension to every chosen name without one, so under the every-file filter
// a file without extension (a Linux program) could not be opened. The extension is settled when
// the user accepts, from the filter chosen then, whichever way it was chosen.
class FileDialog final : public QFileDialog {
  public:
    FileDialog(QWidget* owner, QString suffix) : QFileDialog(owner), suffix_(std::move(suffix)) {
        setDefaultSuffix(suffix_);
    }

    void accept() override {
        if (acceptMode() == AcceptOpen) {
            const QString filter = FilterShownAs(nameFilters(), selectedNameFilter());
            setDefaultSuffix(IsEveryFileFilter(filter) ? QString() : suffix_);
        }
        QFileDialog::accept();
    }

  private:
    QString suffix_;
};

}  // namespace

QtPrompt::QtPrompt(QWidget* owner, bool useNativeDialogs)
    : owner_(owner), useNativeDialogs_(useNativeDialogs) {}

void QtPrompt::SetOwner(QWidget* owner) {
    owner_ = owner;
}

void QtPrompt::ShowMessage(const std::string& text, const std::string& caption, bool topmost) {
    QMessageBox box(QMessageBox::NoIcon, ToQString(caption), ToQString(text), QMessageBox::Ok,
                    owner_);
    box.setDefaultButton(QMessageBox::Ok);
    if (topmost) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    }
    Run(box, Qt::Key_Return);
}

bool QtPrompt::AskYesNo(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, ToQString(caption), ToQString(text),
                    QMessageBox::Yes | QMessageBox::No, owner_);
    box.setDefaultButton(QMessageBox::No);  // a destructive question defaults to No
    box.setEscapeButton(QMessageBox::No);
    const std::optional<int> answer = Run(box, Qt::Key_Return);
    return answer == QMessageBox::Yes;
}

std::optional<std::string> QtPrompt::OpenFile(const FileDialogOptions& options) {
    return RunFileDialog(options, false);
}

std::optional<std::string> QtPrompt::SaveFile(const FileDialogOptions& options) {
    return RunFileDialog(options, true);
}

// The read-only check box that hideReadOnly hides does not exist in Qt's dialogs, so that option
// needs nothing here.
std::optional<std::string> QtPrompt::RunFileDialog(const FileDialogOptions& options, bool save) {
    const FileDialogPlan plan = PlanFileDialog(options);
    FileDialog dialog(owner_, ToQString(options.defaultExtension));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, !useNativeDialogs_);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.promptBeforeOverwrite);
    QStringList filters;
    for (const std::string& filter : plan.nameFilters) {
        filters << ToQString(filter);
    }
    if (!filters.isEmpty()) {
        dialog.setOption(QFileDialog::HideNameFilterDetails, plan.labelsOnly);
        dialog.setNameFilters(filters);
    }
    if (!plan.folder.empty()) {
        dialog.setDirectory(ToQString(plan.folder));
    }
    if (!plan.fileName.empty()) {
        dialog.selectFile(ToQString(plan.fileName));
    }
    if (Run(dialog, Qt::Key_Escape) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst().toStdString();
}

std::optional<int> QtPrompt::Run(QDialog& dialog, int answerKey) {
    if (closedForExit_) {
        return std::nullopt;
    }
    QTimer answer;
    if (answerAfter_.count() > 0) {
        answer.setSingleShot(true);
        QObject::connect(&answer, &QTimer::timeout, &dialog, [&dialog, answerKey] {
            // As the user's key arrives: queued, pressed and released.
            QCoreApplication::postEvent(&dialog,
                                        new QKeyEvent(QEvent::KeyPress, answerKey, Qt::NoModifier));
            QCoreApplication::postEvent(
                &dialog, new QKeyEvent(QEvent::KeyRelease, answerKey, Qt::NoModifier));
        });
        answer.start(answerAfter_);
    }
    open_.emplace_back(&dialog);
    const int result = dialog.exec();
    std::erase_if(open_, [&dialog](const QPointer<QDialog>& open) {
        return open.isNull() || open.data() == &dialog;
    });
    if (closedForExit_) {
        return std::nullopt;
    }
    return result;
}

// Every dialog is told to end now; each exec returns when the stack unwinds to it.
void QtPrompt::CloseAllForExit() {
    closedForExit_ = true;
    const std::vector<QPointer<QDialog>> open = open_;
    std::for_each(open.rbegin(), open.rend(), [](const QPointer<QDialog>& dialog) {
        if (!dialog.isNull()) {
            dialog->reject();
        }
    });
}

}  // namespace qx::platform
