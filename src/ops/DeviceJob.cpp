#include "DeviceJob.h"

#include "MaintenanceObjects.h"
#include "ObjectInventory.h"
#include "TransferWatch.h"
#include "VrSNMPObjectTable.h"
#include "VrSNMPRequest.h"
#include "VrTFTPLocalAddress.h"
#include "VrTFTPServer.h"

#include <QFileInfo>
#include <QHostAddress>
#include <QHostInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcJob, "qrt.ops.job")

namespace {

// What every command reads first: whether the device answers, and since
// when it runs (a restart is seen by its up-time starting over).
const VrSNMPVarDef kUpTimeVars[] = {VarDef("1.3.6.1.2.1.1.3.0", "sysUpTime", VrSyntaxInteger, VrFlagRead), VarEnd};

// The main window's system texts and lamp settings.
const VrSNMPVarDef kStatusVars[] = {
    VarDef("1.3.6.1.2.1.1.1.0", "sysDescr", VrSyntaxDisplayString, VrFlagRead),
    VarDef("1.3.6.1.2.1.1.5.0", "systemName", VrSyntaxDisplayString, VrFlagRead),
    VarDef("1.3.6.1.2.1.1.6.0", "systemLocation", VrSyntaxDisplayString, VrFlagRead),
    VarDef("1.3.6.1.2.1.1.3.0", "systemUpTime", VrSyntaxTimeTicks, VrFlagRead),
    VarDef(QRT_P "5.1.1.0", "deviceInformationFirmwareVersion", VrSyntaxDisplayString, VrFlagRead),
    VarDef("1.3.6.1.4.1.48213.10.37.36.2.1.3.3.1.1.1.23.1", "dot11RadioWave", VrSyntaxInteger, VrFlagRead),
    VarEnd};
enum StatusItem { Descr, Name, Location, UpTime, Firmware, Radio };

// Restart waits as the pages show them.
constexpr int kRestoreRestartMs = 50000;
constexpr int kFirmwareRestartMs = 40000;
constexpr int kRestartMs = 50000;
constexpr int kPollMs = 1000;

VrSNMPError errorOf(const VrSNMPException &e)
{
    VrSNMPError error;
    error.Code = e.Code();
    error.Message = e.Message();
    return error;
}

// The IPv4 address a device's transfers come from: the address itself, or
// the first IPv4 address of a host name; empty when there is none.
QString ipv4Of(const QString &address)
{
    const QHostAddress literal(address);
    if (literal.protocol() == QAbstractSocket::IPv4Protocol)
        return literal.toString();
    for (const QHostAddress &a : QHostInfo::fromName(address).addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            return a.toString();
    return QString();
}

// The value an item with an option list sends for a number.
void setNumber(VrSNMPVarItem &item, int value)
{
    item.value = item.options ? item.options->ValueToText(QString::number(value)) : QString::number(value);
}

} // namespace

DeviceJob::DeviceJob(const DeviceTarget &target, VrTFTPServer *server, QObject *parent)
    : QObject(parent), m_target(target), m_server(server), m_peer(server ? ipv4Of(target.device.address) : QString())
{
    m_pause.setSingleShot(true);
    connect(&m_pause, &QTimer::timeout, this, &DeviceJob::pollRestart);
    m_clock.start();
}

DeviceJob::~DeviceJob()
{
    if (m_server && !m_peer.isEmpty())
        m_server->Revoke(m_peer);
}

std::pair<int, int> DeviceJob::TransferTimeout(DeviceCommand command)
{
    // A configuration is small: three waits of 3 s; an image, 30 s each.
    return command == DeviceCommand::Backup || command == DeviceCommand::Restore ? std::pair(300, 3)
                                                                                 : std::pair(3000, 3);
}

void DeviceJob::SetExchangeTimeout(unsigned hundredths, int retries)
{
    m_timeout = hundredths;
    m_retries = retries;
}

void DeviceJob::Observe(const VrTFTPMsg &msg)
{
    if (m_watch)
        m_watch->Observe(msg);
}

void DeviceJob::Start(const DeviceJobOrder &order)
{
    m_order = order;
    m_clock.restart();
    probe([this] {
        switch (m_order.command) {
        case DeviceCommand::Status: return status();
        case DeviceCommand::Get: return get();
        case DeviceCommand::Set: return set();
        case DeviceCommand::Backup: return backup();
        case DeviceCommand::Restore: return restore();
        case DeviceCommand::Firmware: return upload(UpgradeFirmware);
        case DeviceCommand::Certificate: return upload(UpgradeCertificate);
        case DeviceCommand::Key: return upload(UpgradeKey);
        case DeviceCommand::Restart: return restart(kRestartMs);
        }
    });
}

// --- exchanges ------------------------------------------------------------

void DeviceJob::read(const VrSNMPVarList &list, unsigned timeout, int retries, Next next)
{
    m_request = std::make_unique<VrSNMPRequest>();
    AimRequest(*m_request, m_target);
    m_request->VarList = list;
    m_request->Timeout = timeout;
    m_request->Retries = retries;
    m_request->OnError = [this](VrSNMPError &e) {
        QMetaObject::invokeMethod(this, [this, e] { done(e); }, Qt::QueuedConnection);
    };
    m_next = std::move(next);
    try {
        m_request->GetAsync(&DeviceJob::completed, this, true);
    } catch (const VrSNMPException &e) {
        done(errorOf(e));
    }
}

void DeviceJob::write(const VrSNMPVarList &list, Next next)
{
    m_request = std::make_unique<VrSNMPRequest>();
    AimRequest(*m_request, m_target);
    m_request->VarList = list;
    m_request->Timeout = m_timeout;
    m_request->Retries = m_retries;
    m_request->OnError = [this](VrSNMPError &e) {
        QMetaObject::invokeMethod(this, [this, e] { done(e); }, Qt::QueuedConnection);
    };
    m_next = std::move(next);
    try {
        m_request->SetAsync(&DeviceJob::completed, this, false, QString(), nullptr);
    } catch (const VrSNMPException &e) {
        done(errorOf(e));
    }
}

void DeviceJob::command(const VrSNMPVarDef *table, int value, Next next)
{
    VrSNMPVarList list(table, VrListInstance, 0);
    setNumber(list.Item(0), value);
    write(list, std::move(next));
}

void DeviceJob::completed(void *data, VrSNMPError &error, VrSNMPVarList &list)
{
    auto *job = static_cast<DeviceJob *>(data);
    job->m_read.clear();
    for (int i = 0; i < list.Count(); ++i)
        job->m_read << list.Item(i).value;
    // Later: the next step replaces the request whose answer this is.
    QMetaObject::invokeMethod(job, [job, error] { job->done(error); }, Qt::QueuedConnection);
}

void DeviceJob::done(const VrSNMPError &error)
{
    if (m_next)
        std::exchange(m_next, nullptr)(error);
}

// --- outcomes -------------------------------------------------------------

void DeviceJob::succeed()
{
    if (m_finished)
        return;
    m_finished = true;
    m_result.ok = true;
    m_result.code = 0;
    m_result.text = VrSNMPMessage(0);
    m_result.seconds = m_clock.elapsed() / 1000.0;
    qCInfo(lcJob) << m_target.Label() << "done in" << m_result.seconds << "s";
    emit finished(m_result);
}

void DeviceJob::fail(int code, const QString &text)
{
    if (m_finished)
        return;
    m_finished = true;
    qCInfo(lcJob) << m_target.Label() << "failed:" << code << text;
    m_result.ok = false;
    m_result.code = code;
    m_result.text = text;
    m_result.seconds = m_clock.elapsed() / 1000.0;
    if (m_watch)
        m_watch->Forget();
    emit finished(m_result);
}

// --- commands ---------------------------------------------------------------

void DeviceJob::probe(std::function<void()> next)
{
    read(VrSNMPVarList(kUpTimeVars, VrListInstance, 0), m_timeout, m_retries, [this, next](const VrSNMPError &e) {
        if (e.Code != 0)
            return fail(e.Code, e.Message);
        m_upTime = m_read.value(0).toULongLong();
        next();
    });
}

void DeviceJob::status()
{
    read(VrSNMPVarList(kStatusVars, VrListInstance, 0), m_timeout, m_retries, [this](const VrSNMPError &e) {
        if (e.Code != 0)
            return fail(e.Code, e.Message);
        const bool radio = m_read.value(Radio) == QLatin1String("1");
        // The lamps: power and LAN lit by an answer, WLAN by the radio.
        m_result.values << QStringLiteral("lamps = power on, lan on, wlan %1").arg(radio ? "on" : "off");
        for (int i : {Descr, Name, Location, UpTime, Firmware})
            m_result.values << QStringLiteral("%1 = %2").arg(QLatin1String(kStatusVars[i].name), m_read.value(i));
        succeed();
    });
}

void DeviceJob::get()
{
    VrSNMPVarList list;
    std::vector<InventoryObject> objects;
    for (const QString &name : m_order.objects) {
        const auto object = FindInventoryObject(name);
        if (!object)
            return fail(VrErrNoSuchName, VrSNMPMessage(VrErrNoSuchName));
        objects.push_back(*object);
        const QByteArray oid = object->oid.toLatin1(), n = object->name.toLatin1();
        const VrSNMPVarDef def[] = {VarDef(oid.constData(), n.constData(), object->syntax, VrFlagRead), VarEnd};
        list.Append(def);
    }
    list.kind = VrListInstance;
    read(list, m_timeout, m_retries, [this, objects](const VrSNMPError &e) {
        if (e.Code != 0)
            return fail(e.Code, e.Message);
        for (size_t i = 0; i < objects.size(); ++i)
            m_result.values << QStringLiteral("%1 = %2").arg(
                objects[i].name, DescribeInventoryValue(objects[i], m_read.value(qsizetype(i))));
        succeed();
    });
}

void DeviceJob::set()
{
    VrSNMPVarList list;
    for (const QString &assignment : m_order.objects) {
        const qsizetype eq = assignment.indexOf(u'=');
        const auto object = FindInventoryObject(assignment.left(eq));
        QString wire;
        if (!object || !CheckInventoryValue(*object, assignment.mid(eq + 1), &wire).isEmpty())
            return fail(VrErrBadSyntax, VrSNMPMessage(VrErrBadSyntax));
        const QByteArray oid = object->oid.toLatin1(), n = object->name.toLatin1();
        const VrSNMPVarDef def[] = {VarDef(oid.constData(), n.constData(), object->syntax, VarReadWrite), VarEnd};
        list.Append(def);
        list.Item(list.Count() - 1).value = wire;
    }
    list.kind = VrListInstance;
    write(list, [this](const VrSNMPError &e) {
        if (e.Code != 0)
            return fail(e.Code, e.Message);
        succeed();
    });
}

// Tells the device where the file is (or goes) and keeps the server open to it
// for that one file.
void DeviceJob::announce(int kind, qint64 total, std::function<void()> next)
{
    const QString local = TransferServerAddress(m_target.device.address);
    if (local.isEmpty())
        return fail(VrTFTPStatus::NotReady, QString::fromLatin1(VrTFTPNoLocalAddressText));
    m_server->Grant(m_peer, m_order.folder, m_order.fileName);
    const auto [timeout, retries] = TransferTimeout(m_order.command);
    m_watch = new TransferWatch(m_server, m_peer, timeout, retries, this);
    connect(m_watch, &TransferWatch::progress, this, &DeviceJob::progress);
    m_watch->Expect(m_order.fileName, TransferWatch::Kind(kind), total);

    VrSNMPVarList list(kTftpServerVars, VrListInstance, 0);
    list.Item(0).value = local;
    list.Item(1).value = m_order.fileName;
    write(list, [this, next](const VrSNMPError &e) {
        if (e.Code != 0)
            return fail(e.Code, e.Message);
        next();
    });
}

// Goes on once the device's transfer ended; fails with the server's status
// when the file did not arrive whole.
void DeviceJob::afterTransfer(std::function<void()> next)
{
    const auto check = [this, next] {
        m_result.bytes = m_watch->Bytes();
        if (!m_watch->Succeeded())
            return fail(m_watch->ErrorCode(), m_watch->ErrorText());
        m_watch->Forget();
        next();
    };
    if (m_watch->Pending())
        connect(m_watch, &TransferWatch::finished, this, check, Qt::SingleShotConnection);
    else
        check();
}

void DeviceJob::backup()
{
    announce(TransferWatch::DeviceWrites, 0, [this] {
        command(kTftpCommandVars, TftpPut, [this](const VrSNMPError &e) {
            if (e.Code != 0)
                return fail(e.Code, e.Message);
            afterTransfer([this] {
                // As the page: the device is told to keep its configuration.
                command(kUpgradeVars, UpgradeConfigSave, [this](const VrSNMPError &) { succeed(); });
            });
        });
    });
}

void DeviceJob::restore()
{
    const qint64 size = QFileInfo(m_order.folder + u'/' + m_order.fileName).size();
    announce(TransferWatch::DeviceReads, size, [this] {
        command(kUpgradeVars, UpgradeConfigSave, [this](const VrSNMPError &e) {
            if (e.Code != 0)
                return fail(e.Code, e.Message);
            afterTransfer([this] {
                command(kUpgradeVars, UpgradeReboot, [this](const VrSNMPError &) {
                    waitForRestart(kRestoreRestartMs);
                });
            });
        });
    });
}

void DeviceJob::upload(int upgradeValue)
{
    const qint64 size = QFileInfo(m_order.folder + u'/' + m_order.fileName).size();
    announce(TransferWatch::DeviceReads, size, [this, upgradeValue] {
        command(kTftpCommandVars, TftpGet, [this, upgradeValue](const VrSNMPError &e) {
            if (e.Code != 0)
                return fail(e.Code, e.Message);
            afterTransfer([this, upgradeValue] {
                command(kUpgradeVars, upgradeValue, [this, upgradeValue](const VrSNMPError &e) {
                    if (e.Code != 0)
                        return fail(e.Code, e.Message);
                    if (upgradeValue != UpgradeFirmware)
                        return succeed();
                    restart(kFirmwareRestartMs);
                });
            });
        });
    });
}

void DeviceJob::restart(int limitMs)
{
    VrSNMPVarList list(kRestartVars, VrListInstance, 0);
    setNumber(list.Item(0), 1);
    write(list, [this, limitMs](const VrSNMPError &e) {
        if (e.Code != 0)
            return fail(e.Code, e.Message);
        waitForRestart(limitMs);
    });
}

// Polls the up-time until it starts over, or until the page's wait is over.
void DeviceJob::waitForRestart(int limitMs)
{
    m_restartLimit = limitMs;
    m_restartClock.start();
    pollRestart();
}

void DeviceJob::pollRestart()
{
    if (m_restartClock.elapsed() >= m_restartLimit)
        return succeed();
    // One poll a second, start to start: a poll that timed out while the
    // device was down has waited its second already.
    const qint64 started = m_restartClock.elapsed();
    read(VrSNMPVarList(kUpTimeVars, VrListInstance, 0), kPollMs / 10, 0, [this, started](const VrSNMPError &e) {
        if (e.Code == 0 && m_read.value(0).toULongLong() < m_upTime)
            return succeed();
        if (e.Code == 0)
            m_upTime = m_read.value(0).toULongLong();
        m_pause.start(int(qMax<qint64>(0, started + kPollMs - m_restartClock.elapsed())));
    });
}
