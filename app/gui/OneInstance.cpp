// OneInstance — single-instance hand-over over a local socket.
// See OneInstance.h for the protocol.
#include "app/gui/OneInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QTimer>
#include <QtEndian>

#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

namespace nodalis {

namespace {

QLocalServer* g_server = nullptr;
OneInstanceCallback g_callback;

constexpr int HEADER_BYTES = 8;

// The user id at the other end of a connected local socket, or -1.
long PeerUid(qintptr fd) {
  if (fd < 0) return -1;
  struct ucred cred {};
  socklen_t len = sizeof cred;
  if (::getsockopt(static_cast<int>(fd), SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0) return -1;
  return static_cast<long>(cred.uid);
}

bool PeerIsSameUser(QLocalSocket* s) {
  return PeerUid(s->socketDescriptor()) == static_cast<long>(::geteuid());
}

void Reply(QLocalSocket* s, std::uint32_t code) {
  uchar buf[4];
  qToLittleEndian<quint32>(code, buf);
  s->write(reinterpret_cast<const char*>(buf), 4);
  s->flush();
  s->disconnectFromServer();
}

// One incoming connection: collects the message, answers once, then goes.
void Serve(QLocalSocket* s) {
  auto* buffer = new QByteArray;
  auto* done = new bool(false);
  QObject::connect(s, &QObject::destroyed, [buffer, done] {
    delete buffer;
    delete done;
  });
  QTimer::singleShot(ONEINST_TIMEOUT_MS, s, [s] {
    s->abort();
    s->deleteLater();
  });
  QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
  QObject::connect(s, &QLocalSocket::readyRead, s, [s, buffer, done] {
    if (*done) {
      s->readAll();
      return;
    }
    buffer->append(s->read(HEADER_BYTES + ONEINST_MAX_TEXT_BYTES + 1 - buffer->size()));
    if (buffer->size() < HEADER_BYTES) return;
    const uchar* p = reinterpret_cast<const uchar*>(buffer->constData());
    quint32 length = qFromLittleEndian<quint32>(p + 4);
    if (length > ONEINST_MAX_TEXT_BYTES || buffer->size() > HEADER_BYTES + qsizetype(length)) {
      *done = true;  // oversized or trailing garbage: drop without reply
      s->abort();
      return;
    }
    if (buffer->size() < HEADER_BYTES + qsizetype(length)) return;
    *done = true;
    if (!PeerIsSameUser(s)) {
      s->abort();
      return;
    }
    const std::string text = buffer->mid(HEADER_BYTES, qsizetype(length)).toStdString();
    std::uint8_t answer = 0;
    if (g_callback) g_callback(static_cast<std::int32_t>(length), text, answer);
    if (answer == 0)
      Reply(s, ONEINST_TAKEN_OVER);
    else
      Reply(s, ONEINST_GO_ON);
  });
}

// Sends the command line to a running instance; returns its reply code, or
// 0 when there was no usable answer. *refused tells whether nobody listened
// on an existing socket (a stale one).
std::uint32_t AskRunningInstance(const QString& name, const QByteArray& text, bool* noServer) {
  *noServer = false;
  QLocalSocket sock;
  sock.connectToServer(name);
  if (!sock.waitForConnected(ONEINST_TIMEOUT_MS / 2)) {
    QLocalSocket::LocalSocketError e = sock.error();
    *noServer = (e == QLocalSocket::ServerNotFoundError || e == QLocalSocket::ConnectionRefusedError);
    return 0;
  }
  if (!PeerIsSameUser(&sock)) return 0;
  QByteArray msg(HEADER_BYTES, '\0');
  QByteArray body = text.left(ONEINST_MAX_TEXT_BYTES);
  qToLittleEndian<quint32>(static_cast<quint32>(::getpid()), reinterpret_cast<uchar*>(msg.data()));
  qToLittleEndian<quint32>(static_cast<quint32>(body.size()), reinterpret_cast<uchar*>(msg.data()) + 4);
  msg += body;
  sock.write(msg);
  QElapsedTimer clock;
  clock.start();
  while (sock.bytesToWrite() > 0 && clock.elapsed() < ONEINST_TIMEOUT_MS)
    if (!sock.waitForBytesWritten(ONEINST_TIMEOUT_MS - int(clock.elapsed()))) break;
  QByteArray reply;
  while (reply.size() < 4 && clock.elapsed() < ONEINST_TIMEOUT_MS) {
    if (sock.bytesAvailable() == 0 &&
        !sock.waitForReadyRead(std::max<int>(1, ONEINST_TIMEOUT_MS - int(clock.elapsed()))))
      break;
    reply += sock.read(4 - reply.size());
  }
  if (reply.size() < 4) return 0;
  return qFromLittleEndian<quint32>(reinterpret_cast<const uchar*>(reply.constData()));
}

}  // namespace

QString OneInstanceServerName(const QString& ProgramPath) {
  QByteArray key = "OneInstUtilWnd:" + ProgramPath.toUtf8();
  QByteArray tag = qgetenv("NODALIS_INSTANCE_TAG");
  if (!tag.isEmpty()) key += "\n" + tag;
  QString hash = QString::fromLatin1(
      QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(20));
  QString base = QStringLiteral("nodalis-oneinst-%1-%2").arg(::geteuid()).arg(hash);
  // The user's runtime directory is private to the user; the temporary
  // directory is the fallback (Qt places plain names there).
  QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
  if (!runtime.isEmpty() && runtime.startsWith('/') && QFileInfo(runtime).isDir() &&
      QFileInfo(runtime).isWritable() && runtime.size() + base.size() < 100)
    return runtime + "/" + base;
  return base;
}

QByteArray OneInstanceCommandLine(const QStringList& Arguments) {
  QByteArray line;
  for (int i = 0; i < Arguments.size(); ++i) {
    QByteArray a = Arguments[i].toLocal8Bit();
    if (i > 0) line += ' ';
    if (i == 0 || a.contains(' ') || a.isEmpty())
      line += '"' + a + '"';
    else
      line += a;
  }
  return line;
}

bool OneInstanceStart(const QString& ProgramPath, const QByteArray& CommandLine) {
  const QString name = OneInstanceServerName(ProgramPath);
  bool noServer = false;
  std::uint32_t code = AskRunningInstance(name, CommandLine, &noServer);
  if (code == ONEINST_TAKEN_OVER) return true;

  // A live first instance keeps its socket: listening again here would
  // replace the socket file under it. Only a missing or stale one is taken.
  if (!noServer) return false;
  delete g_server;
  g_server = new QLocalServer;
  g_server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!g_server->listen(name)) {
    // A socket file nobody listens on is left from a crashed instance.
    if (g_server->serverError() == QAbstractSocket::AddressInUseError) {
      QLocalServer::removeServer(name);
      g_server->listen(name);
    }
  }
  if (!g_server->isListening()) {
    delete g_server;
    g_server = nullptr;
    return false;
  }
  QObject::connect(g_server, &QLocalServer::newConnection, [] {
    while (QLocalSocket* s = g_server->nextPendingConnection()) Serve(s);
  });
  return false;
}

void OneInstanceSetCallback(OneInstanceCallback Callback) { g_callback = std::move(Callback); }

void OneInstanceStop() {
  if (g_server) {
    g_server->close();
    delete g_server;
    g_server = nullptr;
  }
  g_callback = nullptr;
}

bool OneInstanceListening() { return g_server && g_server->isListening(); }

}  // namespace nodalis
