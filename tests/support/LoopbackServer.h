#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QUdpSocket>

class QTcpSocket;

// A web server on 127.0.0.1 for the browser tests. It counts every connection made to it
// (a TLS attempt counts although it is never answered) and every datagram sent to its port,
// keeps the request lines it received, serves the bodies it was given and accepts WebSocket
// handshakes, answering each with one text message.
class TLoopbackServer : public QObject {
  Q_OBJECT

public:
  TLoopbackServer();

  void Serve(const QByteArray& path, const QByteArray& contentType, const QByteArray& body);
  QByteArray Url(const QByteArray& scheme, const QByteArray& path) const;
  int Connections() const { return FConnections; }
  int Datagrams() const { return FDatagrams; }
  const QList<QByteArray>& Requests() const { return FRequests; }

private:
  struct TReply {
    QByteArray ContentType;
    QByteArray Body;
  };
  void Accept();
  void CountDatagrams();
  void Answer(QTcpSocket* socket);
  static QByteArray Header(const QByteArray& head, const QByteArray& name);

  QTcpServer FServer;
  QUdpSocket FUdp;
  int FDatagrams = 0;
  QHash<QByteArray, TReply> FReplies;
  QList<QByteArray> FRequests;
  int FConnections = 0;
};
