#pragma once

#include "foundation/till_settings.h"  // kSettingsFileName

#include "foundation/print_job.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <vector>

namespace kestavion {

// The settings file of this machine, in the data folder.

// A thermal receipt printer of this machine (kept in the till's settings file, not
// in the shop's database).
struct EscPosSettings {
    bool enabled = false;  // kind=escpos
    QString device;        // a device file (/dev/usb/lp0) or host:port (port 9100 when left out)
    int columns = 32;      // 32 on 58 mm paper, 48 on 80 mm
    bool drawer = false;   // pulse the cash drawer after each receipt

    // The [printer] section of an .ini file: kind=escpos, device=…, columns=32|48,
    // drawer=true|false. Anything else leaves the printer off.
    static EscPosSettings read(const QString &iniPath);
};

namespace escpos {

// The bytes of a print job: initialise, Chinese mode (FS &), each call's lines in
// GB18030 (a call with fontSize >= 16 in double width and height, bold calls
// emphasised), a feed and a paper cut, and a drawer pulse when asked.
QByteArray encode(const PrintJob &job, bool drawerPulse);

// DLE EOT 1 (printer status) and DLE EOT 4 (paper sensor).
inline const QByteArray kStatusQuery = QByteArray("\x10\x04\x01\x10\x04\x04", 6);

enum class Status { Ready, NoAnswer, Offline, PaperOut };
// Reads the two answers to kStatusQuery.
Status interpret(const QByteArray &answers);

}  // namespace escpos

// Sends bytes to a thermal printer: a device file, a plain file (written after what
// is there, without a status check) or a network printer's raw port. Every wait is
// bounded, so a printer that is missing or off never holds the till up.
class EscPosLink {
public:
    enum class Outcome { Printed, NotFound, Offline, PaperOut };

    // One address a printer's name resolves to.
    struct Endpoint {
        int family = 0, socktype = 0, protocol = 0;
        QByteArray address;  // the sockaddr's bytes
    };
    // Turns a host name and port into addresses; may block for as long as the name
    // service takes. The default asks the system (getaddrinfo).
    using Resolver = std::function<std::vector<Endpoint>(const QByteArray &host, const QByteArray &port)>;
    static std::vector<Endpoint> systemResolver(const QByteArray &host, const QByteArray &port);

    explicit EscPosLink(QString device, std::chrono::milliseconds statusWait = std::chrono::milliseconds(500),
                        std::chrono::milliseconds writeWait = std::chrono::milliseconds(2000),
                        Resolver resolver = &EscPosLink::systemResolver)
        : device_(std::move(device)), statusWait_(statusWait), writeWait_(writeWait), resolver_(std::move(resolver)) {}

    // Asks the status first (waiting at most statusWait, the printer's name lookup
    // included), then writes `bytes`.
    Outcome send(const QByteArray &bytes) const;

private:
    QString device_;
    std::chrono::milliseconds statusWait_, writeWait_;
    Resolver resolver_;
};

}  // namespace kestavion
