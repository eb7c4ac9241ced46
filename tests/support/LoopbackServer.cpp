#include "tests/support/LoopbackServer.h"

#include <QCryptographicHash>
#include <QNetworkDatagram>
#include <QTcpSocket>

TLoopbackServer::TLoopbackServer() {
  connect(&FServer, &QTcpServer::newConnection, this, &TLoopbackServer::Accept);
  if (!FServer.listen(QHostAddress::LocalHost)) qFatal("loopback server cannot listen");
  if (!FUdp.bind(QHostAddress::LocalHost, FServer.serverPort())) qFatal("loopback server cannot bind UDP");
  connect(&FUdp, &QUdpSocket::readyRead, this, &TLoopbackServer::CountDatagrams);
}

void TLoopbackServer::CountDatagrams() {
  while (FUdp.hasPendingDatagrams()) {
    FUdp.receiveDatagram();
    ++FDatagrams;
  }
}

void TLoopbackServer::Serve(const QByteArray& path, const QByteArray& contentType, const QByteArray& body) {
  FReplies.insert(path, {contentType, body});
}

QByteArray TLoopbackServer::Url(const QByteArray& scheme, const QByteArray& path) const {
  return scheme + "://127.0.0.1:" + QByteArray::number(FServer.serverPort()) + path;
}

void TLoopbackServer::Accept() {
  while (QTcpSocket* socket = FServer.nextPendingConnection()) {
    ++FConnections;
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
  }
}

QByteArray TLoopbackServer::Header(const QByteArray& head, const QByteArray& name) {
  for (const QByteArray& line : head.split('\n')) {
    const int colon = line.indexOf(':');
    if (colon > 0 && line.left(colon).trimmed().compare(name, Qt::CaseInsensitive) == 0)
      return line.mid(colon + 1).trimmed();
  }
  return {};
}

// Answers once the request's head is complete; anything that is not HTTP is dropped.
void TLoopbackServer::Answer(QTcpSocket* socket) {
  if (socket->property("answered").toBool()) return;
  const QByteArray received = socket->peek(socket->bytesAvailable());
  const int end = received.indexOf("\r\n\r\n");
  if (end < 0) {
    if (!received.startsWith("GET ") && !received.startsWith("POST ") && received.size() >= 5)
      socket->abort();
    return;
  }
  socket->setProperty("answered", true);
  const QByteArray head = received.left(end);
  const QByteArray requestLine = head.left(head.indexOf("\r\n"));
  FRequests.append(requestLine);
  const QByteArray key = Header(head, "Sec-WebSocket-Key");
  if (!key.isEmpty()) {
    const QByteArray accept =
        QCryptographicHash::hash(key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11", QCryptographicHash::Sha1)
            .toBase64();
    socket->write(
        "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
        "Sec-WebSocket-Accept: " +
        accept + "\r\n\r\n");
    socket->write(QByteArray("\x81\x05hello", 7));
    return;
  }
  QByteArray path = requestLine.split(' ').value(1);
  path = path.left(path.indexOf('?') < 0 ? path.size() : path.indexOf('?'));
  const auto reply = FReplies.constFind(path);
  const QByteArray status = reply == FReplies.cend() ? "404 Not Found" : "200 OK";
  const TReply body = reply == FReplies.cend() ? TReply{"text/plain", "missing"} : *reply;
  socket->write("HTTP/1.1 " + status + "\r\nContent-Type: " + body.ContentType +
                "\r\nAccess-Control-Allow-Origin: *\r\nContent-Length: " +
                QByteArray::number(body.Body.size()) + "\r\nConnection: close\r\n\r\n" + body.Body);
  socket->disconnectFromHost();
}
