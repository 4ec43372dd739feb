// The signals that ask a program to end: SIGTERM (the desktop logging out, a service manager),
// SIGINT (Ctrl-C in a terminal) and SIGHUP (the terminal going away). While an ExitSignals object
// lives they no longer end the process on the spot: the handler only writes the signal's number
// to a pipe, and a socket notifier on the user-interface thread reads it there and calls the
// program's handler, where it can end the way it always ends. One object per process; when it
// goes the signals get back what they had.
#pragma once

#include <QObject>
#include <array>
#include <csignal>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace qx::platform {

inline constexpr std::array<int, 3> kExitSignals{SIGTERM, SIGINT, SIGHUP};

class ExitSignals : public QObject {
  public:
    using Handler = std::function<void(int signal)>;

    // `handler` runs on the calling (user-interface) thread, once per signal received.
    explicit ExitSignals(Handler handler, QObject* parent = nullptr);
    ~ExitSignals() override;
    ExitSignals(const ExitSignals&) = delete;
    ExitSignals& operator=(const ExitSignals&) = delete;

    // False when the pipe could not be made or another object holds the signals: they then
    // end the process as before.
    [[nodiscard]] bool IsActive() const { return active_; }

  private:
    void ReadSignals();
    void Restore();

    Handler handler_;
    std::array<int, 2> pipe_{-1, -1};
    std::array<struct sigaction, kExitSignals.size()> previous_{};
    std::unique_ptr<QSocketNotifier> notifier_;
    bool active_ = false;
};

}  // namespace qx::platform
