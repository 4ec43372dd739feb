// The Qt prompt shows what the program's logic asks for: OK boxes, Yes/No boxes whose default is
// No, and file dialogs set up from the program's filter, extension and initial name.
#include "platform/qt_prompt.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "tests/platform/temp_folder.h"

namespace qx::platform {

class QtPromptTest : public QObject {
    Q_OBJECT

  private:
    // Runs `inspect` on the modal window once one other than `besides` is shown.
    static QTimer* WhenModalShown(std::function<void(QWidget*)> inspect,
                                  const QWidget* besides = nullptr) {
        auto* poll = new QTimer;
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, [poll, besides, inspect = std::move(inspect)] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr && modal != besides) {
                poll->stop();
                poll->deleteLater();
                inspect(modal);
            }
        });
        poll->start();
        return poll;
    }

  private slots:
    void messageBoxHasOnlyOkAndTheGivenTexts() {
        QtPrompt prompt;
        bool inspected = false;
        WhenModalShown([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            QCOMPARE(box->text(), QStringLiteral("No QX480 keyboard is connected."));
            QCOMPARE(box->windowTitle(), QStringLiteral("Varkon"));
            QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
            QVERIFY(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            inspected = true;
            box->button(QMessageBox::Ok)->click();
        });
        prompt.ShowMessage("No QX480 keyboard is connected.", "Varkon", true);
        QVERIFY(inspected);

        WhenModalShown([&](QWidget* modal) {
            QVERIFY(!modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            static_cast<QMessageBox*>(modal)->button(QMessageBox::Ok)->click();
        });
        prompt.ShowMessage("plain");
    }

    void yesNoDefaultsToNo() {
        QtPrompt prompt;
        WhenModalShown([](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            QCOMPARE(box->standardButtons(),
                     QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No));
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
            QTest::keyClick(box, Qt::Key_Return);  // the default button answers
        });
        QVERIFY(!prompt.AskYesNo("Remove all actions of this macro?"));

        WhenModalShown([](QWidget* modal) {
            static_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
        });
        QVERIFY(prompt.AskYesNo("Remove all actions of this macro?"));

        WhenModalShown([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QVERIFY(!prompt.AskYesNo("Escape means No"));
    }

    void saveDialogIsSetUpFromTheOptions() {
        qx::testing::TempFolder folder;
        QtPrompt prompt(nullptr, false);
        FileDialogOptions options;
        options.defaultExtension = "kpf";
        options.initialName = folder.path() + "New profile";
        options.filter = "(*.kpf)|*.kpf|(*.*)|*.*||";
        options.hideReadOnly = true;
        options.promptBeforeOverwrite = true;
        WhenModalShown([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->defaultSuffix(), QStringLiteral("kpf"));
            QCOMPARE(dialog->nameFilters(),
                     QStringList({QStringLiteral("(*.kpf) (*.kpf)"), QStringLiteral("(*.*) (*)")}));
            QVERIFY(dialog->testOption(QFileDialog::HideNameFilterDetails));
            QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
            QCOMPARE(QDir(dialog->directory()).canonicalPath(),
                     QDir(QString::fromStdString(folder.path())).canonicalPath());
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name != nullptr);
            QCOMPARE(name->text(), QStringLiteral("New profile"));
            QMetaObject::invokeMethod(dialog, "accept");  // as the Save button does
        });
        const std::optional<std::string> chosen = prompt.SaveFile(options);
        QVERIFY(chosen.has_value());
        QVERIFY(QString::fromStdString(*chosen).endsWith(QStringLiteral("/New profile.kpf")));
    }

    void cancelledOpenDialogGivesNothing() {
        QtPrompt prompt(nullptr, false);
        FileDialogOptions options;
        options.defaultExtension = "kpf";
        options.initialName = "*.kpf";
        options.filter = "(*.kpf)|*.kpf|(*.*)|*.*||";
        WhenModalShown([](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
            QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
            dialog->reject();
        });
        QVERIFY(!prompt.OpenFile(options).has_value());
    }

    // Under "every file" an open dialog takes a name without extension as it is; Qt would look
    // for "name.exe" instead and refuse a native program.
    void openDialogTakesAFileWithoutExtensionUnderEveryFile() {
        qx::testing::TempFolder folder;
        QFile program(QString::fromStdString(folder.path() + "qx480-update"));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.close();
        QtPrompt prompt(nullptr, false);
        FileDialogOptions options;
        options.defaultExtension = "exe";
        options.initialFolder = folder.path();
        options.filter = "MyType Files (*.exe)|*.exe|All Files (*.*)|*.*||";
        QString suffixShown;
        bool typesFound = false;
        bool refused = false;
        QPointer<QTimer> refusal;
        WhenModalShown([&](QWidget* modal) {
            auto* dialog = static_cast<QFileDialog*>(modal);
            suffixShown = dialog->defaultSuffix();
            // As the user picks the second entry of the type list.
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            typesFound = types != nullptr && name != nullptr;
            if (!typesFound) {
                dialog->reject();
                return;
            }
            types->setCurrentIndex(1);
            emit types->activated(1);
            emit types->textActivated(types->currentText());
            // As typed: selectFile() leaves a focused name box as it is.
            name->setText(QStringLiteral("qx480-update"));
            // Qt's "file not found" box would wait for an answer: answer it and give up.
            refusal = WhenModalShown(
                [&refused, dialog](QWidget* box) {
                    refused = true;  // Qt's "file not found" box
                    static_cast<QDialog*>(box)->reject();
                    dialog->reject();
                },
                dialog);
            // Queued, as a click arrives: a box opened inside this timer's slot would see no
            // timer, the watch above included.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        });
        const std::optional<std::string> chosen = prompt.OpenFile(options);
        delete refusal.data();
        QVERIFY(typesFound);
        QCOMPARE(suffixShown, QStringLiteral("exe"));
        QVERIFY(!refused);
        QVERIFY(chosen.has_value());
        QVERIFY(QString::fromStdString(*chosen).endsWith(QStringLiteral("/qx480-update")));
    }

    // A file dialog open over a question when the program ends: both close as cancelled, and
    // what is asked later is answered so at once, never shown.
    void exitClosesEveryOpenPromptAndAnswersLaterOnesAtOnce() {
        QtPrompt prompt(nullptr, false);
        std::optional<std::string> file = "not asked";
        WhenModalShown([&](QWidget* question) {
            WhenModalShown([&](QWidget*) { prompt.CloseAllForExit(); }, question);
            file = prompt.SaveFile({});
        });
        QVERIFY(!prompt.AskYesNo("Reset all keys?"));
        QVERIFY(!file.has_value());
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        bool shownLater = false;
        QTimer* watch = WhenModalShown([&](QWidget* modal) {
            shownLater = true;
            static_cast<QDialog*>(modal)->reject();
        });
        QVERIFY(!prompt.AskYesNo("Asked after the end"));
        prompt.ShowMessage("Told after the end");
        QVERIFY(!prompt.OpenFile({}).has_value());
        QVERIFY(!shownLater);
        delete watch;
    }
};

}  // namespace qx::platform

QTEST_MAIN(qx::platform::QtPromptTest)
#include "qt_prompt_test.moc"
