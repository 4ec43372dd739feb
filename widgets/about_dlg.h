// The about window: the program's name and icon, what it is for and its copyright, with an OK
// button, in the skin's dark colours. It is created anew on each request (command 32773 and the
// system menu's About) and lives on its own, not modal; the main window forwards the language
// message to it and asks it to close in its exit sequence.
#pragma once

#include <QDialog>
#include <memory>

#include "platform/message_window.h"

class QLabel;
class QPushButton;

namespace qx::widgets {

class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;
    CAboutDlg(const CAboutDlg&) = delete;
    CAboutDlg& operator=(const CAboutDlg&) = delete;

    // The window as the main window reaches it: the language message (0x5041 'LANG', lParam =
    // language index) re-reads the texts; platform::kCloseMessage closes it.
    [[nodiscard]] std::shared_ptr<platform::MessageTarget> Target() const;

    // Re-reads caption, texts and button from the language file of `index`.
    void ApplyLanguage(int index);

    [[nodiscard]] QString Caption() const;
    [[nodiscard]] QString Description() const;
    [[nodiscard]] QString Copyright() const;
    [[nodiscard]] QPushButton* OkButton() const { return okButton_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    platform::MessageWindow messages_;
    QLabel* title_ = nullptr;
    QLabel* description_ = nullptr;
    QLabel* copyright_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

// The process-wide about window. ShowAboutWindow closes the one that is open, if any, creates a
// new one, shows it and brings it forward; it deletes itself when closed.
CAboutDlg* ShowAboutWindow(QWidget* parent = nullptr);
// The open about window, or null.
CAboutDlg* AboutWindow();
// Closes the open about window (it never refuses); true also when none was open.
bool CloseAboutWindow();

}  // namespace qx::widgets
