#pragma once
// The devices of a fleet run, one a line:
//   ADDRESS[:PORT] [read=COMMUNITY] [write=COMMUNITY] [cfg=FILE]
// "* read=... write=..." sets the communities of the lines after it; "#"
// starts a comment. Credentials live here, never on a command line.
#include <QList>
#include <QString>

struct FleetDevice {
    QString address;
    int port = 0; // 0: the .cfg file's or the standard port
    QString readCommunity;
    QString writeCommunity;
    QString cfgFile; // empty: the module's lookup by address
    int line = 0;
};

// Throws std::runtime_error naming the file and line of the first mistake.
QList<FleetDevice> ReadFleetFile(const QString &fileName);
QList<FleetDevice> ParseFleet(const QString &text, const QString &fileName);
