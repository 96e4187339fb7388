#pragma once

#include "selling/escpos.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace kestavion::test {

// A network printer on a local port: answers the status query with `answer` (or not
// at all when empty) and keeps what it is sent.
class FakeNetworkPrinter {
public:
    explicit FakeNetworkPrinter(QByteArray answer) : answer_(std::move(answer)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::bind(listener_, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
        EXPECT_EQ(::listen(listener_, 1), 0);
        socklen_t len = sizeof a;
        ::getsockname(listener_, reinterpret_cast<sockaddr *>(&a), &len);
        port_ = ntohs(a.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~FakeNetworkPrinter() {
        ::shutdown(listener_, SHUT_RDWR);  // wakes accept() when no one ever connected
        if (thread_.joinable()) thread_.join();
        ::close(listener_);
    }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }
    // Everything received, once the client has closed.
    QByteArray received() {
        thread_.join();
        return received_;
    }

private:
    void serve() {
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0) return;
        char buf[4096];
        bool answered = answer_.isEmpty();
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0) break;
            received_.append(buf, n);
            if (!answered && received_.size() >= escpos::kStatusQuery.size()) {
                answered = true;
                (void)::write(fd, answer_.constData(), size_t(answer_.size()));
            }
        }
        ::close(fd);
    }
    QByteArray answer_;
    int listener_ = -1;
    quint16 port_ = 0;
    std::thread thread_;
    QByteArray received_;
};

}  // namespace kestavion::test
