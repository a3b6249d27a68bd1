// The peers of the start-up figures: a Qt Widgets main window that is shown
// and quits from the event loop's first turn; with --text, the same window
// with a menu bar and a status line, so that it loads the fonts as every
// window showing text must; with --snmp PORT as well, it then starts Net-SNMP
// as any SNMP client must and reads sysUpTime once from 127.0.0.1:PORT
// (community "hollow") before it quits.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <cstdlib>

namespace {

// One synchronous get, as a plain Net-SNMP client sends it; true when answered.
bool readUptime(int port)
{
    setenv("MIBS", "", 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    init_snmp("bare_window");
    netsnmp_session setup;
    snmp_sess_init(&setup);
    const std::string peer = "udp:127.0.0.1:" + std::to_string(port);
    setup.peername = const_cast<char *>(peer.c_str());
    setup.version = SNMP_VERSION_1;
    static char community[] = "hollow";
    setup.community = reinterpret_cast<u_char *>(community);
    setup.community_len = sizeof community - 1;
    netsnmp_session *session = snmp_open(&setup);
    if (session == nullptr)
        return false;
    netsnmp_pdu *request = snmp_pdu_create(SNMP_MSG_GET);
    const oid uptime[] = {1, 3, 6, 1, 2, 1, 1, 3, 0};
    snmp_add_null_var(request, uptime, OID_LENGTH(uptime));
    netsnmp_pdu *response = nullptr;
    const bool ok = snmp_synch_response(session, request, &response) == STAT_SUCCESS && response != nullptr
                    && response->errstat == SNMP_ERR_NOERROR;
    if (response != nullptr)
        snmp_free_pdu(response);
    snmp_close(session);
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    QMainWindow window;
    if (args.contains(QStringLiteral("--text"))) {
        for (const char *title : {"&Home", "&Advanced", "&Tools", "&Status", "He&lp"})
            window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("&Page"));
        window.statusBar()->showMessage(QStringLiteral("Ready"));
    }
    window.show();
    const qsizetype snmp = args.indexOf(QStringLiteral("--snmp"));
    if (snmp > 0 && snmp + 1 < args.size()) {
        const int port = args.at(snmp + 1).toInt();
        QTimer::singleShot(0, &app, [port] {
            if (readUptime(port))
                QCoreApplication::quit();
            else
                QCoreApplication::exit(1);
        });
    } else {
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    }
    return QApplication::exec();
}
