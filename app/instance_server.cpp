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
constexpr const char* kDeadlineName = "request deadline";

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
    return {InstanceStatus::Delivered, 0};
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
        deadline->setObjectName(QString::fromLatin1(kDeadlineName));
        deadline->setSingleShot(true);
        connect(deadline, &QTimer::timeout, socket, &QLocalSocket::abort);
        deadline->start(kRequestTimeoutMs);
        OnReadable(socket);
    }
}

// The answer goes out before the window sees the message: the window's handler may run a modal
// box or end the program, and must do so from the event loop, never inside this socket's slot
// (a box left open past the client's wait would see the socket deleted under it).
void InstanceServer::OnReadable(QLocalSocket* socket) {
    if (socket->bytesAvailable() < static_cast<qint64>(kInstanceRequestSize)) {
        return;
    }
    std::vector<uint8_t> bytes(kInstanceRequestSize);
    socket->read(reinterpret_cast<char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    // One request per connection: whatever follows is not read.
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    if (auto* deadline = socket->findChild<QTimer*>(QString::fromLatin1(kDeadlineName))) {
        deadline->stop();
    }
    const std::optional<InstanceRequest> request = DecodeInstanceRequest(bytes);
    if (!request) {
        socket->abort();
        return;
    }
    const InstanceReply answer = Answer(*request);
    const auto reply = EncodeInstanceReply(answer);
    socket->write(reinterpret_cast<const char*>(reply.data()), static_cast<qint64>(reply.size()));
    socket->flush();
    socket->disconnectFromServer();
    const PublishedWindow window = PublishedInstanceWindow();
    if (answer.status == InstanceStatus::Delivered && window.target) {
        window.target->PostWindowMessage(request->message, request->wParam,
                                         static_cast<int32_t>(request->lParam));
    }
}

}  // namespace qx::app
