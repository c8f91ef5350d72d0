#include "gui/HandInServer.h"

#include <QLocalSocket>
#include <QWidget>

namespace corvanta {

HandInServer::HandInServer(HandInReceiver &receiver, QWidget *window)
    : receiver_(receiver), window_(window)
{
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
        while (QLocalSocket *socket = server_.nextPendingConnection())
            serve(socket);
    });
}

bool HandInServer::listen(const QString &socketName)
{
    if (socketName.isEmpty())
        return false;
    QLocalServer::removeServer(socketName);
    // Only this user may hand files in.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    return server_.listen(socketName);
}

void HandInServer::serve(QLocalSocket *socket)
{
    QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
        if (!socket->canReadLine())
            return;
        const std::optional<HandInRequest> request = decodeRequest(socket->readLine(1 << 20));
        if (window_) {
            window_->showNormal();
            window_->raise();
            window_->activateWindow();
        }
        HandInAnswer answer;
        if (request) {
            answer = receiver_.receive(*request);
        } else {
            answer.exitCode = 1;
            answer.messages << QStringLiteral("the running copy could not read the request");
        }
        socket->write(encodeAnswer(answer));
        socket->flush();
        socket->disconnectFromServer();
    });
}

std::optional<HandInAnswer> sendToRunningCopy(const QString &socketName, const HandInRequest &request,
                                              int timeoutMs)
{
    if (socketName.isEmpty())
        return std::nullopt;
    QLocalSocket socket;
    socket.connectToServer(socketName);
    if (!socket.waitForConnected(timeoutMs))
        return std::nullopt;
    socket.write(encodeRequest(request));
    socket.flush();
    QByteArray reply;
    // The copy may be showing a box (a save it could not make) before it answers.
    while (!reply.contains('\n') && socket.waitForReadyRead(-1))
        reply += socket.readAll();
    reply += socket.readAll();
    return decodeAnswer(reply);
}

} // namespace corvanta
