#include "TMainForm.h"

#include "AddressValidators.h"
#include "HostPaths.h"
#include "VrTextUtil.h"
#include "LaunchParameters.h"
#include "ModuleInfo.h"
#include "PageMenu.h"
#include "VrSNMPObjectTable.h"
#include "ScaledTimeout.h"
#include "SingleInstance.h"
#include "StatusLamp.h"
#include "VrMessageBox.h"
#include "VrWaitGuard.h"
#include "VrOptionList.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest.h"
#include "VrSNMPRequest2Edits.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"
#include "VrSNMPVarList.h"

#include "SnmpEventProcessor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QMenuBar>
#include <QSaveFile>
#include <QStatusBar>
#include <QTime>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcMain, "qrt.app.main", QtInfoMsg)

TMainForm *MainForm = nullptr;

namespace {

constexpr int PollInterval = 2000;
// A poll unanswered this long shows the device as not answering (the poll's
// own time-out is a minute); while it does not answer it is asked every second.
constexpr int AnswerPatience = 1500;
constexpr int SilentPollInterval = 1000;
// Polls out at once at most: a minute's worth at the silent pace.
constexpr int MaxPollsOut = 64;
constexpr int BlinkInterval = 500;
constexpr int RefreshInterval = 2000;
constexpr int RefreshCycle = 7;
constexpr int ModeShowingRouterMenus = 4;
constexpr unsigned PollTimeout = 6000; // hundredths of a second

// Start-up reads of device settings can wait long for a busy device.
constexpr unsigned SlowReadTimeout = 10000; // hundredths of a second

const VrOptionNumDef DisableEnableTexts[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const VrOptionNumDef OffOnTexts[] = {{0, "Off"}, {1, "On"}, {0, nullptr}};
// A device in its router operation reports mode 5: the fifth entry, whose
// position (4) shows the router menus.
const VrOptionNumDef ApModeTexts[] = {
    {1, "Access Point"}, {2, "WDS With AP"}, {3, "WDS"}, {4, "Wireless Client"}, {5, "Router"}, {0, nullptr}};
const VrOptionNumDef LedTexts[] = {{0, "disable"}, {1, "blinking"}, {0, nullptr}};
VrOptionList DisableEnableOptions(DisableEnableTexts);
VrOptionList OffOnOptions(OffOnTexts);
VrOptionList ApModeOptions(ApModeTexts);
VrOptionList LedOptions(LedTexts);


const VrSNMPVarDef DhcpControlObjects[] = {
    VarDef("1.3.6.1.4.1.48213.10.37.37.3.3.1.1", "dhcpServerControl", VrSyntaxInteger, VarReadWrite,
           &DisableEnableOptions),
    VarEnd};
const VrSNMPVarDef RadioObjects[] = {
    VarDef("1.3.6.1.4.1.48213.10.37.36.2.1.3.3.1.1.1.23.1", "dot11RadioWave", VrSyntaxInteger, VrFlagRead,
           &OffOnOptions),
    VarEnd};
const VrSNMPVarDef ApModeObjects[] = {
    VarDef("1.3.6.1.4.1.48213.10.37.37.2.1.3.2.1.1.18.1", "dot11ApMode", VrSyntaxInteger, VarReadWrite,
           &ApModeOptions),
    VarEnd};
const VrSNMPVarDef Led2dot4GObjects[] = {
    VarDef("1.3.6.1.4.1.48213.10.37.37.5.1.4.1.1.6.1", "wirelessLed2dot4G", VrSyntaxInteger, VrFlagRead,
           &LedOptions),
    VarEnd};
const VrSNMPVarDef Led5GObjects[] = {
    VarDef("1.3.6.1.4.1.48213.10.37.37.5.1.4.1.1.7.1", "wirelessLed5G", VrSyntaxInteger, VrFlagRead,
           &LedOptions),
    VarEnd};
const VrSNMPVarDef AddressObjects[] = {
    VarDef("1.3.6.1.4.1.48213.10.37.37.2.2.1.1.1.1.7.1", "ipInformationIp", VrSyntaxIpAddress, VarReadWrite),
    VarDef("1.3.6.1.4.1.48213.10.37.37.2.2.1.1.1.1.8.1", "ipInformationMask", VrSyntaxIpAddress, VarReadWrite),
    VarDef("1.3.6.1.4.1.48213.10.37.37.2.2.1.1.1.1.9.1", "ipInformationGateway", VrSyntaxIpAddress, VarReadWrite),
    VarEnd};

// The status poll reads one object: does the agent answer at all.
const VrSNMPVarDef StatusObjects[] = {
    VarDef("1.3.6.1.2.1.1.1", "sysDescr", VrSyntaxDisplayString, VrFlagRead),
    VarEnd};


QString caption()
{
    return QString::fromLatin1(ModuleModelName);
}

} // namespace

TMainForm::TMainForm(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                              | Qt::WindowCloseButtonHint)
{
    MainForm = this;
    setObjectName(QStringLiteral("MainForm"));
    // While a page waits for the device the program keeps running, and the
    // user may leave the wait. (Waits end for good only when the main window
    // closes.)
    SnmpEventProcessor::Global().ResumeWaits();
    VrWaitGuard::Install();
    setWindowTitle(caption());

    // The program's own message texts first; the host's copies may replace them later.
    const QString ownMessages = ProgramMessageDirectory(QCoreApplication::applicationDirPath());
    qCDebug(lcMain) << "own message files from" << ownMessages;
    VrLoadMessageFiles(ownMessages);

    m_picture = new DevicePicture;
    m_picture->setObjectName(QStringLiteral("Image2"));
    static const char *const LampNames[DevicePicture::LampCount] = {"power", "lan", "wlan"};
    for (int i = 0; i < DevicePicture::LampCount; ++i) {
        auto *lamp = new StatusLamp(m_picture);
        lamp->setObjectName(QString::fromLatin1(LampNames[i]));
        lamp->move(DevicePicture::lampCentre(DevicePicture::Lamp(i)) - lamp->rect().center());
        m_lamps[i] = lamp;
    }
    setCentralWidget(m_picture);

    statusBar()->setObjectName(QStringLiteral("MainStatusBar"));
    statusBar()->setSizeGripEnabled(false);
    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("MainStatusPanel0"));
    m_status->setMinimumWidth(50);
    statusBar()->addWidget(m_status, 1);

    buildMenu();
    buildHiddenControls();

    LedStatus.setInterval(PollInterval);
    LedBlink.setInterval(BlinkInterval);
    Timer1.setInterval(RefreshInterval);
    LedStatus.setTimerType(Qt::PreciseTimer);
    m_silence.setSingleShot(true);
    m_silence.setTimerType(Qt::PreciseTimer);
    connect(&m_silence, &QTimer::timeout, this, &TMainForm::showSilent);
    connect(&LedStatus, &QTimer::timeout, this, &TMainForm::PollStatus);
    connect(&LedBlink, &QTimer::timeout, this, &TMainForm::BlinkStep);
    connect(&Timer1, &QTimer::timeout, this, &TMainForm::RefreshTick);

    // Fixed size: the picture's width, and its height under the menu above the status bar.
    setFixedSize(sizeHint());
}

TMainForm::~TMainForm()
{
    // The program is ending: requests still out are dropped, not waited for
    // (a silent device would otherwise hold the exit for seconds per request).
    SnmpEventProcessor::Global().AbandonWaits();
    LedStatus.stop();
    m_silence.stop();
    LedBlink.stop();
    Timer1.stop();
    delete m_led2dot4G;
    delete m_led5G;
    delete m_address;
    m_statusRequest.reset();
    if (MainForm == this)
        MainForm = nullptr;
}

void TMainForm::buildMenu()
{
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    QHash<QString, QMenu *> menus;
    const auto menuFor = [&](const QString &path) {
        QMenu *&menu = menus[path];
        if (!menu) {
            const qsizetype split = path.lastIndexOf(u'|');
            const QString title = path.mid(split + 1);
            menu = split < 0 ? menuBar()->addMenu(title) : menus.value(path.left(split))->addMenu(title);
            menu->menuAction()->setObjectName(QStringLiteral("mnu") + QString(title).remove(u'&').remove(u' '));
        }
        return menu;
    };

    for (const PageMenuEntry &entry : PageMenu()) {
        QMenu *menu = menuFor(QString::fromLatin1(entry.menu));
        QAction *action = menu->addAction(QString::fromLatin1(entry.text));
        action->setObjectName(QStringLiteral("act_") + QString::fromLatin1(entry.page));
        action->setEnabled(entry.open != nullptr);
        if (const PageOpener open = entry.open) {
            connect(action, &QAction::triggered, this, [this, open] {
                try {
                    open(this);
                } catch (const std::exception &error) {
                    VrMessageBox(this, QString::fromStdString(error.what()), caption());
                }
            });
        }
    }

    m_internetConnection = findChild<QAction *>(QStringLiteral("act_TFM_InternetConnect"));
    m_multiSsid = findChild<QAction *>(QStringLiteral("act_TFM_MultiSSIDNewForm"));
    m_vlan = findChild<QAction *>(QStringLiteral("act_TFM_VlanSetting"));
    m_routerSettings = menus.value(QStringLiteral("&Advanced|&Router Settings"));
}

void TMainForm::buildHiddenControls()
{
    // Device settings the window keeps for the pages; never shown.
    auto *hidden = new QWidget(this);
    hidden->setObjectName(QStringLiteral("HiddenControls"));
    hidden->hide();
    const auto combo = [hidden](const char *name) {
        auto *box = new QComboBox(hidden);
        box->setObjectName(QString::fromLatin1(name));
        return box;
    };
    CB_Fuction1 = combo("CB_Fuction1");
    CB_Radio = combo("CB_Radio");
    CB_ApMode = combo("CB_ApMode");
    CB_Led2dot4G = combo("CB_Led2dot4G");
    CB_Led5G = combo("CB_Led5G");

    static const char *const EditNames[] = {
        "Ed_FwVer",      "Ed_Countrycode", "ED_Turbomode",  "APModeSupport",       "ifMultiSSID_Edit",
        "Ed_Rogue",      "IPAddressEdit",  "SubMaskEdit",   "NewMultiSupport",     "SyslogSupport",
        "Ed_ClientAddSSID", "Ed_KeyTypeSup", "Ed_IfCluster", "Ed_Green",           "Ed_DelFunction",
        "Ed_SSIDBroadDisable", "Ed_RptModeToSuper",
    };
    for (const char *name : EditNames) {
        auto *edit = new QLineEdit(hidden);
        edit->setObjectName(QString::fromLatin1(name));
        m_refreshedEdits.append(edit);
    }
    IPAddressEdit = hidden->findChild<QLineEdit *>(QStringLiteral("IPAddressEdit"));
    SubMaskEdit = hidden->findChild<QLineEdit *>(QStringLiteral("SubMaskEdit"));
}

bool TMainForm::Start(const QStringList &arguments)
{
    OpenSession(QString());

    const HostPaths host = ReadHostPaths();
    VrLoadMessageFiles(FindEntryIgnoringCase(host.messageBase, QStringLiteral("errmsg")));

    if (arguments.isEmpty()) {
        VrMessageBox(this, QStringLiteral("This module is only used in the Netvane or HP-Openview."), caption());
        return false;
    }

    try {
        ApplyLaunchArguments(arguments, host.configDirectory);
    } catch (const VrConversionError &error) {
        // Without a complete target there is nothing this window could poll.
        VrMessageBox(this, error.Message(), caption());
        return false;
    }

    setWindowTitle(windowTitle() + QStringLiteral(" : ") + g_SNMPDevice.address);
    m_instance = std::make_unique<SingleInstance>(windowTitle());
    if (const SingleInstance::Result lock = m_instance->acquire(); lock != SingleInstance::Acquired) {
        // Only a running module is reported as one; any other failure says what it was.
        const QString text = lock == SingleInstance::HeldElsewhere
            ? QStringLiteral("Another QRT-5150 module is running!") : m_instance->ErrorText();
        qCInfo(lcMain) << "single-instance check for" << windowTitle() << ":" << text;
        VrMessageBox(this, text, QStringLiteral("Warning"));
        close();
        return false;
    }

    m_screenshotFile = qEnvironmentVariable("QRT5150_SCREENSHOT");
    // Shown before anything is asked of the device: a silent device must not
    // look like a hung program.
    applyOperationModeMenus();
    show();
    m_statusRequest = std::make_unique<VrSNMPRequest>();
    m_statusRequest->VarList = VrSNMPVarList(StatusObjects, VrListScalar, 0);
    PollStatus();
    bindHiddenControls();
    return true;
}

VrSNMPRequest2Edits *TMainForm::bindCombo(const VrSNMPVarDef *objects, uint8_t kind, QComboBox *combo)
{
    auto *binding = new VrSNMPRequest2Edits(this);
    binding->Request.VarList = VrSNMPVarList(objects, kind, 0);
    binding->BindComboBox(0, combo);
    return binding;
}

void TMainForm::bindHiddenControls()
{
    VrSNMPRequest2Edits *dhcp = bindCombo(DhcpControlObjects, VrListScalar, CB_Fuction1);
    VrSNMPRequest2Edits *radio = bindCombo(RadioObjects, VrListInstance, CB_Radio);
    VrSNMPRequest2Edits *mode = bindCombo(ApModeObjects, VrListInstance, CB_ApMode);
    radio->Request.Timeout = ScaledTimeout(SlowReadTimeout);
    mode->Request.Timeout = ScaledTimeout(SlowReadTimeout);
    m_led2dot4G = bindCombo(Led2dot4GObjects, VrListInstance, CB_Led2dot4G);
    m_led5G = bindCombo(Led5GObjects, VrListInstance, CB_Led5G);
    m_address = new VrSNMPRequest2Edits(this);
    m_address->Request.VarList = VrSNMPVarList(AddressObjects, VrListInstance, 0);
    m_address->BindFormat(0, QStringLiteral("%s"), {IPAddressEdit});
    m_address->BindFormat(1, QStringLiteral("%s"), {SubMaskEdit});

    // Read once, one after the other, each whatever the previous one's
    // outcome; the menus follow the operation mode when it has been read.
    // Then the lamp settings and the address, read again every two seconds.
    const auto after = [](VrSNMPRequest2Edits *binding, std::function<void()> next) {
        binding->OnLoadDone = [next](VrSNMPRequest2Controls *, const VrSNMPError &) { next(); };
    };
    after(dhcp, [radio] { radio->Load(); });
    after(radio, [mode] { mode->Load(); });
    after(mode, [this] {
        applyOperationModeMenus();
        loadRefreshedBindings();
        Timer1.start();
    });
    dhcp->Load();
}

void TMainForm::loadRefreshedBindings()
{
    for (VrSNMPRequest2Edits *binding : {m_led2dot4G, m_led5G, m_address})
        if (!binding->Busy()) // the previous read of a slow device is still out
            binding->Load();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // A page may be waiting for a silent device: end those waits and the
    // pages now, also a page that would refuse to close while it is busy.
    SnmpEventProcessor::Global().AbandonWaits();
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *page = qobject_cast<QDialog *>(window); page && page->isVisible())
            page->done(QDialog::Rejected);
    QMainWindow::closeEvent(event);
}

void TMainForm::applyOperationModeMenus()
{
    const bool router = CB_ApMode->currentIndex() == ModeShowingRouterMenus;
    m_internetConnection->setVisible(router);
    m_routerSettings->menuAction()->setVisible(router);
    m_multiSsid->setVisible(!router);
    m_vlan->setVisible(!router);
}

bool TMainForm::IsValidIPAddress(const QString &text) const
{
    return ::IsValidIPAddress(text);
}

bool TMainForm::IsValidSubnetMask(const QString &text) const
{
    return ::IsValidSubnetMask(text);
}

QString TMainForm::statusText() const
{
    return m_status->text();
}

void TMainForm::showStatus(const QString &text)
{
    m_status->setText(text);
}

void TMainForm::lampsOff()
{
    for (StatusLamp *lamp : m_lamps) {
        lamp->setLit(false);
        lamp->show();
    }
}

void TMainForm::PollStatus()
{
    // The poll goes out every period whatever became of the one before, each
    // with its own long time-out (a busy device must not lose its answer);
    // the lamps do not wait for the time-out to say the device is silent.
    if (!LedStatus.isActive())
        LedStatus.start();
    if (m_statusRequest->Pending >= MaxPollsOut)
        return;
    // A long time-out: a busy device must not look dead. Tests shorten it.
    m_statusRequest->Timeout = ScaledTimeout(PollTimeout);
    try {
        m_statusRequest->GetAsync(&TMainForm::statusAnswered, this, true);
    } catch (const VrSNMPException &error) {
        lampsOff();
        showStatus(error.Message());
        return;
    }
    if (!m_silence.isActive())
        m_silence.start(AnswerPatience);
}

void TMainForm::showSilent()
{
    m_silent = true;
    lampsOff();
    showStatus(VrSNMPMessage(VrErrTimeout));
    LedStatus.setInterval(SilentPollInterval);
}

void TMainForm::statusAnswered(void *data, VrSNMPError &error, VrSNMPVarList &)
{
    auto *form = static_cast<TMainForm *>(data);
    if (error.Code != VrOk) {
        // A poll lost while later ones were answered tells nothing new; a
        // silent device was shown as such when its poll went unanswered.
        if (error.Code == VrErrTimeout && !form->m_silent)
            return;
        form->lampsOff();
        form->showStatus(error.Message);
        return;
    }
    form->m_silence.stop();
    form->m_silent = false;
    form->LedStatus.setInterval(PollInterval);
    form->showStatus(VrSNMPStatusLine(false, error.Message, QString(),
                                      QTime::currentTime().toString(QStringLiteral("hh:mm:ss AP"))));
    form->BlinkStep();
    form->saveScreenshotOnce();
    emit form->StatusAnswered();
}

void TMainForm::saveScreenshotOnce()
{
    if (m_screenshotFile.isEmpty())
        return;
    const QString file = std::exchange(m_screenshotFile, QString());
    // Let the lamps and the status line paint before the grab.
    QTimer::singleShot(100, this, [this, file] {
        // Written under another name and renamed: whoever waits for the file never reads half of it.
        QSaveFile out(file);
        if (out.open(QIODevice::WriteOnly) && grab().save(&out, "PNG") && out.commit())
            qCInfo(lcMain) << "saved the main window to" << file;
        else
            qCWarning(lcMain) << "could not save the main window to" << file;
    });
}

void TMainForm::BlinkStep()
{
    if (!LedBlink.isActive()) {
        m_blinkTicks = 0;
        LedBlink.start();
    }
    const bool wlanBlinks = CB_Led2dot4G->currentIndex() == 1 || CB_Led5G->currentIndex() == 1;
    StatusLamp *blinking = m_lamps[wlanBlinks ? DevicePicture::Wlan : DevicePicture::Lan];
    StatusLamp *steady = m_lamps[wlanBlinks ? DevicePicture::Lan : DevicePicture::Wlan];
    blinking->toggle();
    steady->setLit(wlanBlinks);
    m_lamps[DevicePicture::Power]->setLit(true);
    if (++m_blinkTicks > 1)
        LedBlink.stop();
}

void TMainForm::RefreshTick()
{
    if (m_refreshTicks == RefreshCycle) {
        for (QLineEdit *edit : std::as_const(m_refreshedEdits))
            edit->clear();
        CB_ApMode->clear();
        m_refreshTicks = 0;
    }
    loadRefreshedBindings();
    ++m_refreshTicks;
}
