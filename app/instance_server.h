// The running instance's local server: another start of the program connects to it (see
// app/instance_signal.h) to ask the main window to show itself or to close. The server answers
// on the user-interface thread at once, then posts 'OPEN' and 'KILL' messages, with whatever code
// they carry, to the window published with PublishInstanceWindow, and only when the request
// looks for the user data that window carries. The window handles them from its event loop after
// the answer, so a box it shows may stay open as long as the user likes. Connections from other
// users are dropped.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <string>

#include "app/instance_wire.h"

class QLocalSocket;

namespace qx::app {

class InstanceServer : public QObject {
    Q_OBJECT

  public:
    explicit InstanceServer(QObject* parent = nullptr);
    ~InstanceServer() override;
    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;

    // Listens at `path` (a socket file left by an ended process of the same id is replaced).
    bool Listen(const std::string& path);
    // Stops listening and removes the socket file.
    void Close();
    [[nodiscard]] bool IsListening() const { return server_.isListening(); }

    // The answer to one request, from the published window's tag (a message to deliver is
    // posted after the answer is sent).
    static InstanceReply Answer(const InstanceRequest& request);

  private:
    void OnNewConnection();
    void OnReadable(QLocalSocket* socket);

    QLocalServer server_;
};

}  // namespace qx::app
