#include "selling/escpos.h"
#include "selling/fake_network_printer.h"
#include "selling/receipt.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace kestavion::test {
namespace {

// What a thermal printer would make of the bytes: the printed lines (decoded from
// GB18030, with the size and emphasis they were printed in) and the other commands.
struct Printed {
    struct Line {
        QString text;
        bool doubled = false, bold = false;
    };
    std::vector<Line> lines;
    QStringList commands;  // "init", "chinese", "feed 4", "cut", "drawer"
};

Printed decode(const QByteArray &b) {
    Printed out;
    QStringDecoder gb18030("GB18030");
    bool doubled = false, bold = false;
    QByteArray text;
    for (qsizetype i = 0; i < b.size(); ++i) {
        const char c = b[i];
        auto arg = [&](int k) { return i + k < b.size() ? quint8(b[i + k]) : 0xFF; };
        if (c == 0x1B && arg(1) == '@') {
            out.commands << QStringLiteral("init");
            i += 1;
        } else if (c == 0x1C && arg(1) == '&') {
            out.commands << QStringLiteral("chinese");
            i += 1;
        } else if (c == 0x1D && arg(1) == '!') {
            doubled = arg(2) == 0x11;
            i += 2;
        } else if (c == 0x1C && arg(1) == '!') {
            EXPECT_EQ(arg(2) == 0x0C, doubled) << "Chinese and ASCII sizes differ";
            i += 2;
        } else if (c == 0x1B && arg(1) == 'E') {
            bold = arg(2) == 1;
            i += 2;
        } else if (c == 0x1B && arg(1) == 'd') {
            out.commands << QStringLiteral("feed %1").arg(arg(2));
            i += 2;
        } else if (c == 0x1D && arg(1) == 'V') {
            out.commands << QStringLiteral("cut");
            i += 3;
        } else if (c == 0x1B && arg(1) == 'p') {
            out.commands << QStringLiteral("drawer");
            i += 4;
        } else if (c == '\n') {
            out.lines.push_back({gb18030.decode(text), doubled, bold});
            text.clear();
        } else {
            EXPECT_GE(quint8(c), 0x20) << "unknown control byte " << int(c) << " at " << i;
            text.append(c);
        }
    }
    EXPECT_TRUE(text.isEmpty()) << "text after the last line break";
    EXPECT_FALSE(gb18030.hasError());
    return out;
}

ReceiptData sale(const QString &sellNo) {
    ReceiptData d;
    d.shopName = QStringLiteral("步步高鞋业");
    d.time = QDateTime(QDate(2026, 12, 9), QTime(15, 4, 5));
    d.seller = QStringLiteral("张三");
    d.sellNo = sellNo;
    d.pairs.push_back({QStringLiteral("B200"), QStringLiteral("自有品牌"), QStringLiteral("女单鞋"), QStringLiteral("38"),
                       QStringLiteral("1"), QStringLiteral("299"), QStringLiteral("特价"), QStringLiteral("250")});
    // A long article number and name wrap instead of running off the paper.
    d.pairs.push_back({QStringLiteral("KX2026-SPRING-0001-LONG"), QStringLiteral("意大利进口真皮手工定制"),
                       QStringLiteral("男士商务正装皮鞋"), QStringLiteral("42"), QStringLiteral("1"), QStringLiteral("1200"),
                       QStringLiteral("9"), QStringLiteral("1080")});
    d.payment = QStringLiteral("1400");
    d.change = QStringLiteral("70");
    return d;
}

QStringList texts(const Printed &p) {
    QStringList out;
    for (const auto &l : p.lines) out << l.text;
    return out;
}

TEST(EscPosTest, ReceiptWrittenToAFileDecodesToTheExpectedLines) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("receipt.bin"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));  // a plain file takes the bytes without a status check
    }
    const QByteArray bytes = escpos::encode(Receipt::checkoutThermal(sale(QStringLiteral("2026120910000")), 32), true);
    ASSERT_EQ(EscPosLink(file).send(bytes), EscPosLink::Outcome::Printed);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const Printed p = decode(f.readAll());

    EXPECT_EQ(p.commands, QStringList({"init", "chinese", "feed 4", "cut", "drawer"}));
    ASSERT_GE(p.lines.size(), 2u);
    EXPECT_EQ(p.lines[0].text, QStringLiteral("   步步高鞋业"));  // 10 of 16 double-width columns, centred
    EXPECT_TRUE(p.lines[0].doubled);
    EXPECT_TRUE(p.lines[0].bold);
    const QStringList expected = {
        QStringLiteral("             结帐单"),
        QStringLiteral("销售时间：   2026-12-09 15:04:05"),
        QStringLiteral("销 售 员：                  张三"),
        QStringLiteral("销售编号：         2026120910000"),
        QString(32, QLatin1Char('-')),
        QStringLiteral("货号 品牌 种类 尺码"),
        QStringLiteral(" 数量   零售价    折扣      实收"),
        QString(32, QLatin1Char('-')),
        QStringLiteral("B200 自有品牌 女单鞋 38"),
        QStringLiteral("    1      299    特价       250"),
        QStringLiteral("KX2026-SPRING-0001-LONG 意大利进"),
        QStringLiteral("口真皮手工定制 男士商务正装皮鞋 "),
        QStringLiteral("42"),
        QStringLiteral("    1     1200       9      1080"),
        QString(32, QLatin1Char('-')),
        QStringLiteral("数    量：                     2"),
        QStringLiteral("应收合计：                  1499"),
        QStringLiteral("优惠合计：                   169"),
        QStringLiteral("实收合计：                  1330"),
        QStringLiteral("客人付款：                  1400"),
        QStringLiteral("找回金额：                    70"),
        QString(32, QLatin1Char('-')),
        QStringLiteral("  凭本票按国家三包法规实行三包"),
        QStringLiteral("    谢谢惠顾，欢迎下次光临！"),
    };
    // Compared as one text, so a difference reads as the receipt would.
    EXPECT_EQ(texts(p).mid(1).join(QLatin1Char('\n')).toStdString(), expected.join(QLatin1Char('\n')).toStdString());
    for (size_t i = 1; i < p.lines.size(); ++i) {
        EXPECT_FALSE(p.lines[i].doubled);
        EXPECT_FALSE(p.lines[i].bold);
        EXPECT_LE(Receipt::displayWidth(p.lines[i].text), 32) << p.lines[i].text.toStdString();
    }
}

TEST(EscPosTest, WideLayoutFillsFortyEightColumnsAndReprintSaysSo) {
    const Printed p = decode(escpos::encode(Receipt::reprintThermal(sale(QStringLiteral("202612090001")), 48), false));
    EXPECT_EQ(p.commands, QStringList({"init", "chinese", "feed 4", "cut"}));
    const QStringList t = texts(p);
    EXPECT_EQ(t[1], QStringLiteral("                 结帐单（重打）"));
    EXPECT_TRUE(t.contains(QStringLiteral("KX2026-SPRING-0001-LONG 意大利进口真皮手工定制 ")))
        << t.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(t.contains(QStringLiteral("      数量      零售价        折扣          实收")));
    for (const QString &line : t) EXPECT_LE(Receipt::displayWidth(line), 48) << line.toStdString();
}

TEST(EscPosTest, StatusAnswersAreRead) {
    using escpos::Status;
    EXPECT_EQ(escpos::interpret(QByteArray("\x12\x12", 2)), Status::Ready);
    EXPECT_EQ(escpos::interpret(QByteArray("\x16\x12", 2)), Status::Ready);      // drawer open is fine
    EXPECT_EQ(escpos::interpret(QByteArray("\x1A\x12", 2)), Status::Offline);
    EXPECT_EQ(escpos::interpret(QByteArray("\x12\x72", 2)), Status::PaperOut);
    EXPECT_EQ(escpos::interpret(QByteArray("\x12\x1E", 2)), Status::Ready);      // near the end: still prints
    EXPECT_EQ(escpos::interpret(QByteArray("\x12", 1)), Status::NoAnswer);
    EXPECT_EQ(escpos::interpret(QByteArray("AB", 2)), Status::NoAnswer);
}

TEST(EscPosTest, NetworkPrinterGetsTheStatusQueryThenTheReceipt) {
    const QByteArray job = escpos::encode(Receipt::checkoutThermal(sale(QStringLiteral("202612090001")), 32), false);
    FakeNetworkPrinter ready(QByteArray("\x12\x12", 2));
    EXPECT_EQ(EscPosLink(ready.address()).send(job), EscPosLink::Outcome::Printed);
    EXPECT_EQ(ready.received(), escpos::kStatusQuery + job);

    // Out of paper or off: the receipt is not sent.
    FakeNetworkPrinter noPaper(QByteArray("\x12\x72", 2));
    EXPECT_EQ(EscPosLink(noPaper.address()).send(job), EscPosLink::Outcome::PaperOut);
    EXPECT_EQ(noPaper.received(), escpos::kStatusQuery);
    FakeNetworkPrinter offline(QByteArray("\x1A\x12", 2));
    EXPECT_EQ(EscPosLink(offline.address()).send(job), EscPosLink::Outcome::Offline);
    EXPECT_EQ(offline.received(), escpos::kStatusQuery);

    // A printer that never answers counts as not found (after the half second).
    FakeNetworkPrinter silent{QByteArray()};
    EXPECT_EQ(EscPosLink(silent.address()).send(job), EscPosLink::Outcome::NotFound);
    EXPECT_EQ(silent.received(), escpos::kStatusQuery);
}

TEST(EscPosTest, PrinterNamesAreLookedUpWithinTheStatusWait) {
    const QByteArray job("x");
    // A name service that stays silent until the test lets it go: the sale does not
    // wait for it. Were the lookup unbounded, send() would wait here for ever.
    struct Silent {
        std::mutex m;
        std::condition_variable cv;
        bool released = false, asked = false;
    };
    auto silent = std::make_shared<Silent>();
    auto hang = [silent](const QByteArray &, const QByteArray &) {
        std::unique_lock<std::mutex> lock(silent->m);
        silent->asked = true;
        silent->cv.wait(lock, [&] { return silent->released; });
        return std::vector<EscPosLink::Endpoint>{};
    };
    EscPosLink link(QStringLiteral("printer.shop:9100"), std::chrono::milliseconds(200), std::chrono::milliseconds(2000),
                    hang);
    EXPECT_EQ(link.send(job), EscPosLink::Outcome::NotFound);
    {
        std::lock_guard<std::mutex> lock(silent->m);
        EXPECT_FALSE(silent->released);
        silent->released = true;
    }
    silent->cv.notify_all();

    // A name that does resolve in time reaches the printer it names.
    FakeNetworkPrinter ready(QByteArray("\x12\x12", 2));
    const QString address = ready.address();
    auto local = [address](const QByteArray &host, const QByteArray &port) {
        EXPECT_EQ(host, QByteArray("printer.shop"));
        return EscPosLink::systemResolver(address.section(QLatin1Char(':'), 0, 0).toUtf8(), port);
    };
    const QString port = address.section(QLatin1Char(':'), 1);
    EXPECT_EQ(EscPosLink(QStringLiteral("printer.shop:") + port, std::chrono::milliseconds(500),
                         std::chrono::milliseconds(2000), local)
                  .send(job),
              EscPosLink::Outcome::Printed);
    EXPECT_EQ(ready.received(), escpos::kStatusQuery + job);
}

TEST(EscPosTest, MissingPrintersAreNotFound) {
    const QByteArray job("x");
    EXPECT_EQ(EscPosLink(QStringLiteral("/no/such/dev/usb/lp0")).send(job), EscPosLink::Outcome::NotFound);
    // A port nobody listens on.
    int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(probe, reinterpret_cast<sockaddr *>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(probe, reinterpret_cast<sockaddr *>(&a), &len);
    ::close(probe);
    EXPECT_EQ(EscPosLink(QStringLiteral("127.0.0.1:%1").arg(ntohs(a.sin_port))).send(job), EscPosLink::Outcome::NotFound);
    EXPECT_EQ(EscPosLink(QStringLiteral("no-such-host.invalid")).send(job), EscPosLink::Outcome::NotFound);
}

TEST(EscPosTest, SettingsComeFromThePrinterSection) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Kestavion.ini"));
    EXPECT_FALSE(EscPosSettings::read(ini).enabled);  // no file: the system printer
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[printer]\nkind=escpos\ndevice=192.168.1.50:9100\ncolumns=48\ndrawer=true\n");
    }
    const EscPosSettings s = EscPosSettings::read(ini);
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.device, QStringLiteral("192.168.1.50:9100"));
    EXPECT_EQ(s.columns, 48);
    EXPECT_TRUE(s.drawer);
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[printer]\nkind=escpos\ncolumns=40\n");
    }
    EXPECT_FALSE(EscPosSettings::read(ini).enabled);  // no device: nothing to print to
    EXPECT_EQ(EscPosSettings::read(ini).columns, 32);
}

}  // namespace
}  // namespace kestavion::test
