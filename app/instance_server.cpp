#include "app/instance_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QLocalSocket>
#include <QTimer>
#include <vector>

#include "app/instance_window.h"

namespace qx::app {
namespace {

// A client has this long to send its request; a slow or silent one is dropped.
constexpr int kRequestTimeoutMs = 2000;

bool PeerIsThisUser(const QLocalSocket& socket) {
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    const auto descriptor = static_cast<int>(socket.socketDescriptor());
    return ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == ::getuid();
}

}  // namespace

InstanceServer::InstanceServer(QObject* parent) : QObject(parent) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &InstanceServer::OnNewConnection);
}

InstanceServer::~InstanceServer() {
    Close();
}

bool InstanceServer::Listen(const std::string& path) {
    const QString name = QString::fromStdString(path);
    QLocalServer::removeServer(name);
    return server_.listen(name);
}

void InstanceServer::Close() {
    server_.close();
}

InstanceReply InstanceServer::Answer(const InstanceRequest& request) {
    const PublishedWindow window = PublishedInstanceWindow();
    if (!window.target || request.tag != window.userData) {
        return {InstanceStatus::NoWindow, 0};
    }
    if (request.message == kInstanceQueryMessage) {
        return {InstanceStatus::Found, 0};
    }
    if (!IsInstanceMessage(request.message)) {
        return {InstanceStatus::Refused, 0};
    }
    const platform::MessageResult result = window.target->SendWindowMessage(
        request.message, request.wParam, static_cast<int32_t>(request.lParam));
    return {InstanceStatus::Delivered, static_cast<uint32_t>(result)};
}

void InstanceServer::OnNewConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        if (!PeerIsThisUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadable(socket); });
        auto* deadline = new QTimer(socket);  // ends with the socket
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, &QLocalSocket::abort);
        deadline->start(kRequestTimeoutMs);
        OnReadable(socket);
    }
}

void InstanceServer::OnReadable(QLocalSocket* socket) {
    if (socket->bytesAvailable() < static_cast<qint64>(kInstanceRequestSize)) {
        return;
    }
    std::vector<uint8_t> bytes(kInstanceRequestSize);
    socket->read(reinterpret_cast<char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    // One request per connection: whatever follows is not read.
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    const std::optional<InstanceRequest> request = DecodeInstanceRequest(bytes);
    if (!request) {
        socket->abort();
        return;
    }
    // The socket stays alive while the window handles the message (it may end the program).
    const QPointer<QLocalSocket> guard(socket);
    const auto reply = EncodeInstanceReply(Answer(*request));
    if (guard) {
        guard->write(reinterpret_cast<const char*>(reply.data()),
                     static_cast<qint64>(reply.size()));
        guard->flush();
        guard->disconnectFromServer();
    }
}

}  // namespace qx::app
