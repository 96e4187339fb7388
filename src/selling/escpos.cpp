#include "selling/escpos.h"

#include <QSettings>
#include <QStringConverter>
#include <QStringList>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestavion {

EscPosSettings EscPosSettings::read(const QString &iniPath) {
    EscPosSettings s;
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("printer"));
    s.enabled = ini.value(QStringLiteral("kind")).toString().trimmed().compare(QLatin1String("escpos"),
                                                                              Qt::CaseInsensitive) == 0;
    s.device = ini.value(QStringLiteral("device")).toString().trimmed();
    s.columns = ini.value(QStringLiteral("columns"), 32).toInt() >= 48 ? 48 : 32;
    s.drawer = ini.value(QStringLiteral("drawer"), false).toBool();
    if (s.device.isEmpty()) s.enabled = false;
    return s;
}

namespace escpos {

namespace {
const char ESC = 0x1B, GS = 0x1D, FS = 0x1C;
}

QByteArray encode(const PrintJob &job, bool drawerPulse) {
    QStringEncoder gb18030("GB18030");
    QByteArray out;
    out.append(ESC).append('@');           // initialise
    out.append(FS).append('&');            // Chinese characters on
    bool doubled = false, bold = false, sized = false;
    for (const PrintCall &call : job) {
        if (call.fontSize > 0) {
            const bool want = call.fontSize >= 16;
            if (want != doubled || !sized) {
                sized = true;
                out.append(GS).append('!').append(want ? char(0x11) : char(0x00));
                out.append(FS).append('!').append(want ? char(0x0C) : char(0x00));  // the Chinese font too
                doubled = want;
            }
        }
        if (call.bold != bold) {
            out.append(ESC).append('E').append(call.bold ? char(1) : char(0));
            bold = call.bold;
        }
        for (const QString &line : call.text.split(QLatin1Char('\n'))) {
            out.append(gb18030.encode(line));
            out.append('\n');
        }
    }
    if (doubled) out.append(GS).append('!').append(char(0)).append(FS).append('!').append(char(0));
    if (bold) out.append(ESC).append('E').append(char(0));
    out.append(ESC).append('d').append(char(4));                       // feed past the cutter
    out.append(GS).append('V').append(char(66)).append(char(0));       // partial cut
    if (drawerPulse) out.append(ESC).append('p').append(char(0)).append(char(25)).append(char(250));
    return out;
}

Status interpret(const QByteArray &answers) {
    // A status byte has bit 0 and bit 7 clear and bits 1 and 4 set.
    auto valid = [](char b) { return (quint8(b) & 0x93) == 0x12; };
    if (answers.size() < 2 || !valid(answers[0]) || !valid(answers[1])) return Status::NoAnswer;
    if (quint8(answers[0]) & 0x08) return Status::Offline;
    if ((quint8(answers[1]) & 0x60) == 0x60) return Status::PaperOut;
    return Status::Ready;
}

}  // namespace escpos

namespace {

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, msLeft(deadline));
        if (r > 0) return (p.revents & events) != 0;
        if (r == 0 || errno != EINTR) return false;
    }
}

bool writeAll(int fd, const QByteArray &bytes, Clock::time_point deadline) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && waitFor(fd, POLLOUT, deadline)) continue;
        return false;
    }
    return true;
}

// Up to `count` bytes answered before the deadline.
QByteArray readAnswers(int fd, int count, Clock::time_point deadline) {
    QByteArray got;
    while (got.size() < count && waitFor(fd, POLLIN, deadline)) {
        char buf[8];
        const ssize_t n = ::read(fd, buf, size_t(count - got.size()));
        if (n > 0) got.append(buf, n);
        else if (n == 0 || (errno != EINTR && errno != EAGAIN)) break;
    }
    return got;
}

// The addresses of a getaddrinfo answer, which is freed.
std::vector<EscPosLink::Endpoint> endpointsOf(addrinfo *found) {
    std::vector<EscPosLink::Endpoint> out;
    for (addrinfo *a = found; a; a = a->ai_next)
        out.push_back({a->ai_family, a->ai_socktype, a->ai_protocol,
                       QByteArray(reinterpret_cast<const char *>(a->ai_addr), int(a->ai_addrlen))});
    ::freeaddrinfo(found);
    return out;
}

// A name lookup that finishes on its own thread; the till waits for it only until its
// deadline. A lookup still running then is left to finish (its result is dropped), and
// while a few are still running no more are started, so a name service that stays
// silent costs at most a handful of idle threads, never a held-up sale.
struct Lookup {
    std::mutex m;
    std::condition_variable done;
    bool finished = false;
    std::vector<EscPosLink::Endpoint> found;
};
std::atomic<int> lookupsRunning{0};
constexpr int kMaxLookupsRunning = 4;

std::vector<EscPosLink::Endpoint> resolveBounded(const EscPosLink::Resolver &resolver, const QByteArray &host,
                                                 const QByteArray &port, Clock::time_point deadline) {
    // A numeric address needs no name service: answered at once.
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo *numeric = nullptr;
    if (::getaddrinfo(host.constData(), port.constData(), &hints, &numeric) == 0) return endpointsOf(numeric);
    if (lookupsRunning.load() >= kMaxLookupsRunning) return {};
    auto lookup = std::make_shared<Lookup>();
    ++lookupsRunning;
    try {
        std::thread([lookup, resolver, host, port] {
            std::vector<EscPosLink::Endpoint> found;
            try {
                found = resolver(host, port);
            } catch (...) {
            }
            {
                std::lock_guard<std::mutex> lock(lookup->m);
                lookup->found = std::move(found);
                lookup->finished = true;
            }
            lookup->done.notify_all();
            --lookupsRunning;
        }).detach();
    } catch (const std::system_error &) {
        --lookupsRunning;
        return {};
    }
    std::unique_lock<std::mutex> lock(lookup->m);
    if (!lookup->done.wait_until(lock, deadline, [&] { return lookup->finished; })) return {};
    return std::move(lookup->found);
}

int connectTo(const QString &hostPort, const EscPosLink::Resolver &resolver, Clock::time_point deadline) {
    const int colon = hostPort.lastIndexOf(QLatin1Char(':'));
    const QByteArray host = hostPort.left(colon).toUtf8();
    const QByteArray port = hostPort.mid(colon + 1).toUtf8();
    int fd = -1;
    for (const EscPosLink::Endpoint &a : resolveBounded(resolver, host, port, deadline)) {
        fd = ::socket(a.family, a.socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a.protocol);
        if (fd < 0) continue;
        const auto *addr = reinterpret_cast<const sockaddr *>(a.address.constData());
        if (::connect(fd, addr, socklen_t(a.address.size())) == 0) break;
        int err = 0;
        socklen_t len = sizeof err;
        if (errno == EINPROGRESS && waitFor(fd, POLLOUT, deadline) &&
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) == 0 && err == 0)
            break;
        ::close(fd);
        fd = -1;
    }
    return fd;
}

bool isHostPort(const QString &device) { return !device.startsWith(QLatin1Char('/')) && !device.startsWith(QLatin1Char('.')); }

}  // namespace

std::vector<EscPosLink::Endpoint> EscPosLink::systemResolver(const QByteArray &host, const QByteArray &port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo *found = nullptr;
    if (::getaddrinfo(host.constData(), port.constData(), &hints, &found) != 0) return {};
    return endpointsOf(found);
}

EscPosLink::Outcome EscPosLink::send(const QByteArray &bytes) const {
    const auto statusDeadline = Clock::now() + statusWait_;
    int fd = -1;
    bool askStatus = true;
    if (isHostPort(device_)) {
        QString target = device_;
        if (!target.contains(QLatin1Char(':'))) target += QStringLiteral(":9100");
        fd = connectTo(target, resolver_, statusDeadline);
    } else {
        struct stat st {};
        const QByteArray path = device_.toLocal8Bit();
        if (::stat(path.constData(), &st) == 0 && S_ISREG(st.st_mode)) {
            // A plain file answers nothing: the bytes go after what is there.
            fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
            askStatus = false;
        } else {
            fd = ::open(path.constData(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        }
    }
    if (fd < 0) return Outcome::NotFound;

    Outcome outcome = Outcome::Printed;
    if (askStatus) {
        if (!writeAll(fd, escpos::kStatusQuery, statusDeadline)) {
            outcome = Outcome::NotFound;
        } else {
            switch (escpos::interpret(readAnswers(fd, 2, statusDeadline))) {
            case escpos::Status::Ready: break;
            case escpos::Status::NoAnswer: outcome = Outcome::NotFound; break;
            case escpos::Status::Offline: outcome = Outcome::Offline; break;
            case escpos::Status::PaperOut: outcome = Outcome::PaperOut; break;
            }
        }
    }
    if (outcome == Outcome::Printed && !writeAll(fd, bytes, Clock::now() + writeWait_)) outcome = Outcome::NotFound;
    ::close(fd);
    return outcome;
}

}  // namespace kestavion
