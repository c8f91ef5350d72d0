#include "gui/HandInServer.h"

#include <QDeadlineTimer>
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

std::optional<HandInAnswer> sendToRunningCopy(const QString &socketName, HandInRequest request, int timeoutMs)
{
    if (socketName.isEmpty())
        return std::nullopt;
    const QDeadlineTimer deadline(timeoutMs);
    HandInAnswer silent;
    silent.exitCode = 1;
    silent.messages << QStringLiteral("the running copy did not answer in time (it may be hung, or waiting "
                                      "for an answer to a question of its own); nothing was added");
    QLocalSocket socket;
    socket.connectToServer(socketName);
    if (!socket.waitForConnected(timeoutMs)) {
        // No socket, or a crashed copy's: no copy runs. A copy too busy to take the connection
        // runs all the same, and nothing may be written around it.
        if (socket.error() == QLocalSocket::SocketTimeoutError)
            return silent;
        return std::nullopt;
    }
    // The copy answers at once. One that hangs refuses the request when it comes to it after
    // the deadline; the grace covers a save begun just before.
    request.answerBy = deadline.deadline();
    socket.write(encodeRequest(request));
    socket.flush();
    const QDeadlineTimer patience(deadline.remainingTime() + 3000);
    QByteArray reply;
    while (!reply.contains('\n') && socket.waitForReadyRead(int(patience.remainingTime())))
        reply += socket.readAll();
    reply += socket.readAll();
    if (!reply.contains('\n') && patience.hasExpired())
        return silent;
    return decodeAnswer(reply);
}

} // namespace corvanta
