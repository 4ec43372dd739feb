// The firmware update window end to end: its buttons clicked, the emulated keyboard on the link,
// the updater a real program started in the Package folder.
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/program_paths.h"
#include "platform/testing/scripted_prompt.h"
#include "profiles/profile_file.h"
#include "skin/png_button.h"
#include "tests/support/emulated_keyboard.h"
#include "update/quilvane_dlg_update.h"
#include "update/update_prompts.h"

namespace fs = std::filesystem;
using qx::platform::testing::ScriptedPrompt;
namespace up = qx::update;

namespace {

constexpr uint8_t kBootCommand = 0xEE;

std::string S(std::string_view text) {
    return std::string(text);
}

fs::path RuntimeFolder() {
    const char* folder = std::getenv("QX_RUNTIME_DIR");  // NOLINT(concurrency-mt-unsafe)
    return folder != nullptr ? fs::path(folder) : fs::path(QX_TEST_RUNTIME_DIR);
}

void WriteProgram(const std::string& path, const std::string& text, fs::perms perms) {
    std::ofstream(path) << text;
    fs::permissions(path, perms);
}

}  // namespace

class UpdateDialogTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir root_;
    std::string package_;
    ScriptedPrompt prompt_;
    std::unique_ptr<qx::test_support::EmulatedKeyboard> keyboard_;
    std::unique_ptr<up::CQuilvane_DlgUpdate> dialog_;

    void Click(int id) { QTest::mouseClick(dialog_->Button(id), Qt::LeftButton); }

    // Open with the file dialog answered `path` (nothing: cancelled).
    void Choose(std::optional<std::string> path) {
        prompt_.QueueFile(std::move(path));
        Click(up::kIdOpen);
    }

    std::string Updater(const std::string& name, const std::string& text, fs::perms perms) {
        const std::string path = package_ + "/" + name;
        WriteProgram(path, text, perms);
        return path;
    }

  private slots:
    void initTestCase() {
        const fs::path program = root_.path().toStdString();
        fs::create_symlink(RuntimeFolder() / "Skins", program / "Skins");
        fs::create_directory(program / "Package");
        qx::platform::SetProgramFolder(program.string() + "/");
        package_ = qx::platform::GetProgramPaths().packagePath;
        qx::platform::SetCurrentPrompt(&prompt_);
        qx::profiles::WriteDefaultProfileFile(std::nullopt, 0, true);
    }

    void init() {
        prompt_.Clear();
        keyboard_ = std::make_unique<qx::test_support::EmulatedKeyboard>();
        dialog_ = std::make_unique<up::CQuilvane_DlgUpdate>(&keyboard_->Commands());
        dialog_->show();
        QVERIFY(dialog_->Button(up::kIdUpdate)->isEnabled());
    }

    void cleanup() {
        dialog_.reset();
        keyboard_.reset();
    }

    void cleanupTestCase() { qx::platform::SetCurrentPrompt(nullptr); }

    // Whatever the answer, the updater will run in the Package folder.
    void openShowsTheChoiceAndMovesToThePackageFolder() {
        QDir::setCurrent(QDir::tempPath());
        const std::string updater = Updater("qx480-update", "#!/bin/sh\n", fs::perms::owner_all);
        Choose(updater);
        const auto questions = prompt_.Questions();
        QCOMPARE(questions.size(), std::size_t{1});
        QVERIFY(questions[0].kind == ScriptedPrompt::Kind::OpenFile);
        QCOMPARE(questions[0].options.initialFolder, package_);
        QCOMPARE(questions[0].options.filter, S(up::kUpdaterFilter));
        QCOMPARE(questions[0].options.defaultExtension, std::string("exe"));
        QCOMPARE(dialog_->UpdaterPath(), updater);
        QCOMPARE(dialog_->PathLabel()->toolTip().toStdString(), updater);
        QCOMPARE(QDir::currentPath().toStdString(), package_);

        QDir::setCurrent(QDir::tempPath());
        Choose(std::nullopt);
        QVERIFY(dialog_->UpdaterPath().empty());
        QVERIFY(dialog_->PathLabel()->text().isEmpty());
        QCOMPARE(QDir::currentPath().toStdString(), package_);
        QVERIFY(prompt_.MessageTexts().empty());
    }

    void updateWithoutAnUpdaterSendsNothing() {
        Click(up::kIdUpdate);
        Choose(package_ + "/gone");
        Click(up::kIdUpdate);
        QCOMPARE(prompt_.MessageTexts(), std::vector<std::string>(2, S(up::kChooseUpdaterText)));
        QVERIFY(prompt_.Questions().back().caption.empty());
        QVERIFY(keyboard_->CommandsSent().empty());
        QVERIFY(dialog_->isVisible());
    }

    // The boot-mode packet goes out (report 4, EE EE, checksum bytes 0), then the updater starts
    // in the Package folder and the window closes.
    void updateSendsTheBootPacketStartsTheUpdaterAndCloses() {
        const std::string marker = package_ + "/started";
        fs::remove(marker);
        Choose(Updater("qx480-update", "#!/bin/sh\npwd > started\n", fs::perms::owner_all));
        Click(up::kIdUpdate);

        const std::vector<qx::device::Packet> sent = keyboard_->CommandsSent();
        QCOMPARE(sent.size(), std::size_t{1});
        qx::device::Packet boot{};
        boot[0] = 4;
        boot[3] = kBootCommand;
        boot[4] = kBootCommand;
        QVERIFY(sent[0] == boot);
        QVERIFY(prompt_.MessageTexts().empty());
        QVERIFY(!dialog_->isVisible());
        QVERIFY(dialog_->UpdaterPath().empty());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(QString::fromStdString(marker)).size() > 0, 5000);
        std::string where;
        std::getline(std::ifstream(marker), where);
        QCOMPARE(fs::canonical(where), fs::canonical(package_));
    }

    // An updater that cannot start is found out before the keyboard leaves for boot mode: the
    // message, the path cleared, nothing sent; Windows programs need Wine (none on this PATH).
    void anUpdaterThatCannotStartLeavesTheKeyboardAlone() {
        const QByteArray searchPath = qgetenv("PATH");
        qputenv("PATH", root_.path().toUtf8());
        const std::string windows = Updater("QX480_Update.exe", "MZ", fs::perms::owner_all);
        const std::string notExecutable =
            Updater("update.sh", "#!/bin/sh\n", fs::perms::owner_read);
        for (const std::string& updater : {windows, notExecutable}) {
            Choose(updater);
            Click(up::kIdUpdate);
            QVERIFY(dialog_->UpdaterPath().empty());
        }
        qputenv("PATH", searchPath);
        Click(up::kIdUpdate);
        QCOMPARE(prompt_.MessageTexts(),
                 (std::vector<std::string>{S(up::kUpdaterFailedText), S(up::kUpdaterFailedText),
                                           S(up::kChooseUpdaterText)}));
        QVERIFY(keyboard_->CommandsSent().empty());
        QVERIFY(!keyboard_->Model().Status().inBootMode);
        QVERIFY(dialog_->isVisible());
    }

    // Without a keyboard the packet cannot go out: the window stays with the updater chosen.
    void bootModeRefusedKeepsTheUpdater() {
        keyboard_->Model().Unplug();
        const std::string updater = Updater("qx480-update", "#!/bin/sh\n", fs::perms::owner_all);
        Choose(updater);
        Click(up::kIdUpdate);
        QCOMPARE(prompt_.MessageTexts(), std::vector<std::string>{S(up::kBootModeFailedText)});
        QCOMPARE(dialog_->UpdaterPath(), updater);
        QVERIFY(dialog_->isVisible());
    }

    void backupTellsWhetherTheFileWasWrittenAndNothingWhenCancelled() {
        Click(up::kIdBackup);
        QVERIFY(prompt_.MessageTexts().empty());
        QVERIFY(prompt_.Questions()[0].kind == ScriptedPrompt::Kind::SaveFile);

        const std::string backup = root_.path().toStdString() + "/backup.kpf";
        prompt_.QueueFile(backup);
        Click(up::kIdBackup);
        QVERIFY(fs::file_size(backup) > 0);
        prompt_.QueueFile(root_.path().toStdString() + "/no such folder/backup.kpf");
        Click(up::kIdBackup);
        QCOMPARE(prompt_.MessageTexts(),
                 (std::vector<std::string>{S(up::kBackupDoneText), S(up::kBackupFailedText)}));
        QVERIFY(keyboard_->CommandsSent().empty());
    }

    void cancelUpdateForgetsTheUpdater() {
        Choose(Updater("qx480-update", "#!/bin/sh\n", fs::perms::owner_all));
        Click(up::kIdCancelUpdate);
        QVERIFY(!dialog_->isVisible());
        QVERIFY(dialog_->UpdaterPath().empty());
    }
};

QTEST_MAIN(UpdateDialogTest)
#include "tst_update_dialog.moc"
