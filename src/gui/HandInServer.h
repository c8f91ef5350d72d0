#pragma once

#include "filelist/HandIn.h"

#include <QLocalServer>

#include <optional>

class QWidget;

namespace corvanta {

// The running copy's end of the hand-in socket: each connection sends one request line and gets
// one answer line; the window comes to the front for it.
class HandInServer
{
public:
    HandInServer(HandInReceiver &receiver, QWidget *window);
    // Takes the socket name over (the caller holds the data folder's lock, so an old socket
    // there is a crashed copy's); false when it cannot listen.
    bool listen(const QString &socketName);

private:
    void serve(class QLocalSocket *socket);

    HandInReceiver &receiver_;
    QWidget *window_;
    QLocalServer server_;
};

// The other end: the running copy's answer, or nothing when no copy listens on socketName. A copy
// that does not answer within about timeoutMs (hung, or a question of its own open) is given up
// on with exit code 1, and refuses the request if it comes to it later.
std::optional<HandInAnswer> sendToRunningCopy(const QString &socketName, HandInRequest request,
                                              int timeoutMs = 5000);

} // namespace corvanta
