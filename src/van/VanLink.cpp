#include "van/VanLink.h"

#include <QTcpSocket>

VanLink::VanLink(QObject* parent)
    : QObject(parent), socket_(new QTcpSocket(this)), timeoutMs_(VanDefaultReadTimeoutMs()) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (!handling_ && reading_) fail();
    });
    connect(socket_, &QTcpSocket::connected, this, &VanLink::onConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &VanLink::pump);
    connect(socket_, &QTcpSocket::disconnected, this, &VanLink::onDisconnected);
    connect(socket_, &QTcpSocket::errorOccurred, this, &VanLink::onError);
}

VanLink::~VanLink() {
    closeSilently();
}

void VanLink::connectTo(const QString& host, quint16 port) {
    if (socket_->state() != QAbstractSocket::UnconnectedState) return;
    buf_.clear();
    peerGone_ = false;
    socket_->connectToHost(host, port);
}

bool VanLink::isConnecting() const {
    return socket_->state() == QAbstractSocket::HostLookupState ||
           socket_->state() == QAbstractSocket::ConnectingState;
}

bool VanLink::isConnected() const {
    return connected_;
}

void VanLink::onConnected() {
    connected_ = true;
    if (session_) session_->startKeyExchange();
}

void VanLink::send(const QByteArray& bytes) {
    if (!connected_) return;
    socket_->write(bytes);
    socket_->flush();
}

void VanLink::startReading() {
    reading_ = true;
    timer_.start(timeoutMs_);
}

void VanLink::pump() {
    if (handling_ || !reading_) return;
    for (;;) {
        const QByteArray more = socket_->readAll();
        if (!more.isEmpty()) {
            buf_ += more;
            timer_.start(timeoutMs_);
        }
        if (buf_.size() < VanFrame::FrameSize) break;
        const QByteArray frame = buf_.left(VanFrame::FrameSize);
        buf_.remove(0, VanFrame::FrameSize);
        handling_ = true;
        timer_.stop();
        const bool ok = session_ ? session_->handleFrame(frame) : true;
        handling_ = false;
        if (!reading_) return; // the handler ended the session
        if (!ok) {
            fail();
            return;
        }
        timer_.start(timeoutMs_);
    }
    // The peer's last frames are handled before its close counts.
    if (peerGone_) fail();
}

void VanLink::fail() {
    if (!reading_ && !connected_) return;
    if (session_)
        session_->readFailed();
    else
        close();
}

void VanLink::onDisconnected() {
    if (!connected_) return;
    peerGone_ = true;
    if (handling_) return; // the running handler finishes first
    if (reading_)
        pump();
    else
        close();
}

void VanLink::onError() {
    if (!connected_) {
        if (socket_->state() != QAbstractSocket::ConnectedState) {
            const QString e = socket_->errorString();
            socket_->abort();
            emit connectFailed(e);
        }
        return;
    }
    if (socket_->error() == QAbstractSocket::RemoteHostClosedError) return; // disconnected() follows
    peerGone_ = true;
    if (!handling_) {
        if (reading_)
            pump();
        else
            close();
    }
}

void VanLink::close() {
    reading_ = false;
    timer_.stop();
    const bool was = connected_;
    connected_ = false;
    buf_.clear();
    socket_->abort();
    if (was && session_) session_->disconnected();
}

void VanLink::closeSilently() {
    reading_ = false;
    timer_.stop();
    connected_ = false;
    buf_.clear();
    socket_->abort();
}
