#include "TFM_MultiSSIDNewForm.h"

#include "FollowContents.h"
#include "RefuseSave.h"
#include "TFM_Wirless.h"
#include "ui_TFM_MultiSSIDNewForm.h"

#include "ScaledTimeout.h"
#include "VrCommon.h"
#include "VrMessageBox.h"
#include "VrOptionList.h"
#include "VrPageBinding.h"
#include "VrSNMPError.h"
#include "VrSNMPObjectTable.h"
#include "VrSNMPRequest2Edits.h"

#include <QLoggingCategory>
#include <QTreeWidget>

#include <algorithm>
#include <array>

TFM_MultiSSIDNewForm *FM_MultiSSIDNewForm = nullptr;

#define P "1.3.6.1.4.1.48213.10.37.37."

namespace {

const VrOptionNumDef kApModeDef[] = {
    {1, "Access Point"}, {2, "WDS With AP"}, {3, "WDS"}, {4, "Wireless Client"}, {0, nullptr}};
const VrOptionNumDef kBandDef[] = {{0, "2.4GHz"}, {1, "5GHz"}, {0, nullptr}};
const VrOptionNumDef kDisEnDef[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};
const VrOptionNumDef kAuthDef[] = {
    {1, "opensystem"}, {2, "sharedkey"}, {3, "wpa-psk"}, {4, "wpa-eap"}, {5, "wpa2-psk"},
    {6, "wpa2-eap"}, {7, "wpa-auto-psk"}, {8, "wpa-auto-eap"}, {9, "dot1x"}, {0, nullptr}};
const VrOptionNumDef kKeyIndexDef[] = {{1, "First"}, {2, "Second"}, {3, "Third"}, {4, "Fourth"}, {0, nullptr}};
const VrOptionNumDef kKeyTypeDef[] = {{1, "Ascii"}, {2, "Hex"}, {0, nullptr}};
const VrOptionNumDef kCipherDef[] = {{1, "Auto"}, {2, "AES"}, {3, "TKIP"}, {4, "WEP"}, {0, nullptr}};

VrOptionList gApMode(kApModeDef);
VrOptionList gBand(kBandDef);
VrOptionList gDisEn(kDisEnDef);
VrOptionList gAuth(kAuthDef);
VrOptionList gKeyIndex(kKeyIndexDef);
VrOptionList gKeyType(kKeyTypeDef);
VrOptionList gCipher(kCipherDef);

constexpr int kInt = VrSyntaxInteger;
constexpr int kText = VrSyntaxDisplayString;

const VrSNMPVarDef kApModeVars[] = {VarDef(P "2.1.3.2.1.1.18.1", "dot11ApMode", kInt, 0x06, &gApMode), VarEnd};
const VrSNMPVarDef kBandVars[] = {VarDef(P "2.1.3.2.1.1.24.1", "dot11Band", kInt, 0x02, &gBand), VarEnd};
const VrSNMPVarDef kStateVars[] = {VarDef(P "3.3.3.1.1.1.1", "dot11MssidState", kInt, 0x06, &gDisEn), VarEnd};
const VrSNMPVarDef kPriorityStateVars[] = {
    VarDef(P "3.3.3.1.1.2.1", "dot11MssidPriorityState", kInt, 0x06, &gDisEn), VarEnd};
const VrSNMPVarDef kVlanVars[] = {VarDef(P "3.3.5.1.1.0", "dot11VlanStatus", kInt, 0x02, &gDisEn), VarEnd};
const VrSNMPVarDef kTableVars[] = {
    VarDef(P "3.3.3.3.1.1", "dot11MssidIndex", kInt, 0x01, nullptr),
    VarDef(P "3.3.3.3.1.2", "dot11MssIndividualState", kInt, 0x06, &gDisEn),
    VarDef(P "3.3.3.3.1.3", "dot11MssidSsid", kText, 0x06, nullptr),
    VarDef(P "3.3.3.3.1.4", "dot11MssidSuppress", kInt, 0x06, &gDisEn),
    VarDef(P "3.3.3.3.1.5", "dot11MssidAuthentication", kInt, 0x06, &gAuth),
    VarDef(P "3.3.3.3.1.6", "dot11MssidEncryption", kInt, 0x06, &gDisEn),
    VarDef(P "3.3.3.3.1.7", "dot11MssidWepKeyIndex", kInt, 0x06, &gKeyIndex),
    VarDef(P "3.3.3.3.1.12", "dot11MssidKeyType", kInt, 0x06, &gKeyType),
    VarDef(P "3.3.3.3.1.10", "dot11MssidCipherType", kInt, 0x06, &gCipher),
    VarDef(P "3.3.3.3.1.11", "dot11MssidPassPhrase", kText, 0x06, nullptr),
    VarDef(P "3.3.3.3.1.8", "dot11MssidWepKey", kText, 0x06, nullptr),
    VarDef(P "3.3.3.3.1.13", "dot11MssidWmm", kInt, 0x06, &gDisEn),
    VarDef(P "3.3.3.3.1.14", "dot11MssidGroupKeyUpdateInterval", kInt, 0x06, nullptr),
    VarDef(P "3.3.3.3.1.15", "dot11MssidPrimaryRadiusServer", VrSyntaxIpAddress, 0x06, nullptr),
    VarDef(P "3.3.3.3.1.16", "dot11MssidPrimaryRadiusPort", kInt, 0x06, nullptr),
    VarDef(P "3.3.3.3.1.17", "dot11MssidPrimaryRadiusSecret", kText, 0x06, nullptr),
    VarDef(P "3.3.3.3.1.29", "dot11MssidPriority", kInt, 0x06, nullptr),
    VarEnd};

// Positions in kTableVars; the hidden list shows them in this order.
enum Column {
    ColIndex, ColState, ColSsid, ColSuppress, ColAuth, ColEncryption, ColKeyIndex, ColKeyType, ColCipher,
    ColPassphrase, ColKey, ColWmm, ColInterval, ColRadiusServer, ColRadiusPort, ColRadiusSecret, ColPriority,
    ColCount
};

const QString kEnable = QStringLiteral("Enable");

int optionValue(const VrOptionList &options, const QString &text)
{
    return options.TextToValue(text).toInt();
}

void setItems(QComboBox *combo, const QStringList &items, int selected)
{
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(selected);
}

} // namespace

Q_LOGGING_CATEGORY(lcMultiSsid, "qrt.pages.multissid")

TFM_MultiSSIDNewForm::TFM_MultiSSIDNewForm(QWidget *parent) : QDialog(parent), ui(new Ui::TFM_MultiSSIDNewForm)
{
    ui->setupUi(this);
    QTreeWidget *list = ui->LV_MultiSSID_User;
    for (int column : {0, 1, 2, 3})
        list->setColumnWidth(column, std::array{100, 150, 60, 120}[size_t(column)]);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setFixedWidth(100 + 150 + 60 + 120 + 4);

    m_apMode = makeBinder(kApModeVars, VrListInstance, 10000, QStringLiteral("Mode"));
    m_apMode->BindComboBox(0, ui->CB_ApMode);
    m_band = makeBinder(kBandVars, VrListInstance, 10000, QStringLiteral("Band"));
    m_band->BindComboBox(0, ui->CB_Band);
    m_state = makeBinder(kStateVars, VrListInstance, 10000, QStringLiteral("Multi-SSID"));
    m_state->BindCheckBox(0, ui->IfEnabMuSSID);
    m_priorityState = makeBinder(kPriorityStateVars, VrListInstance, 10000, QStringLiteral("Priority"));
    m_priorityState->BindCheckBox(0, ui->IfEnablePriority);
    m_vlan = makeBinder(kVlanVars, VrListInstance, 10000, QStringLiteral("VLAN"));
    m_vlan->BindComboBox(0, ui->CB_VlanStatus);

    m_table = makeBinder(kTableVars, VrListTable2, 10000, QStringLiteral("Multi-SSID"));
    m_table->AttachListView(ui->MulSSIDListView, false);
    m_table->BindControl(ColIndex, ui->Lb_Ssidindex);
    m_table->BindComboBox(ColState, ui->CB_IdvState);
    m_table->BindFormat(ColSsid, QStringLiteral("%s"), {ui->Ed_SSID});
    m_table->BindComboBox(ColSuppress, ui->CB_SsidBroadcast);
    m_table->BindComboBox(ColAuth, ui->CB_dot11Authentication);
    m_table->BindComboBox(ColEncryption, ui->CB_MssidEncryption);
    m_table->BindComboBox(ColKeyIndex, ui->CB_DefaultKey);
    m_table->BindComboBox(ColKeyType, ui->CB_KeyType);
    m_table->BindComboBox(ColCipher, ui->CB_Clipher);
    m_table->BindFormat(ColPassphrase, QStringLiteral("%s"), {ui->Ed_Passphrase});
    m_table->BindFormat(ColKey, QStringLiteral("%s"), {ui->Ed_Key});
    m_table->BindComboBox(ColWmm, ui->CB_WMM);
    m_table->BindFormat(ColInterval, QStringLiteral("%s"), {ui->Ed_UpdateInterval});
    m_table->BindFormat(ColRadiusServer, QStringLiteral("%s"), {ui->Edt_RadiusServer});
    m_table->BindFormat(ColRadiusPort, QStringLiteral("%s"), {ui->Edt_RadiusPort});
    m_table->BindFormat(ColRadiusSecret, QStringLiteral("%s"), {ui->Edt_RadiusSecret});
    m_table->BindControl(ColPriority, ui->Edt_Priority);

    // Binding an edit to a format lifts its length limit; these are the
    // limits the device accepts.
    ui->Ed_SSID->setMaxLength(32);
    ui->Ed_Passphrase->setMaxLength(63);
    ui->Ed_ConfirmPass->setMaxLength(63);
    ui->Ed_UpdateInterval->setMaxLength(7);
    ui->Edt_RadiusServer->setMaxLength(15);
    ui->Edt_RadiusPort->setMaxLength(5);
    ui->Edt_RadiusSecret->setMaxLength(64);

    connect(ui->IfEnabMuSSID, &QCheckBox::clicked, this, &TFM_MultiSSIDNewForm::multiSsidChanged);
    connect(ui->IfEnablePriority, &QCheckBox::clicked, this, &TFM_MultiSSIDNewForm::priorityChanged);
    connect(ui->CB_Index, &QComboBox::activated, this, &TFM_MultiSSIDNewForm::indexChanged);
    connect(ui->CB_SecurityMode, &QComboBox::activated, this, &TFM_MultiSSIDNewForm::securityChanged);
    connect(ui->CB_MssidEncryption, &QComboBox::activated, this, &TFM_MultiSSIDNewForm::encryptionChanged);
    connect(ui->CB_KeyType, &QComboBox::activated, this, &TFM_MultiSSIDNewForm::keyFormatChanged);
    connect(ui->CB_WepEncryp, &QComboBox::activated, this, &TFM_MultiSSIDNewForm::keyFormatChanged);
    connect(list, &QTreeWidget::itemClicked, this, &TFM_MultiSSIDNewForm::listClicked);
    connect(ui->AddButton, &QPushButton::clicked, this, &TFM_MultiSSIDNewForm::Add);
    connect(ui->DelButton, &QPushButton::clicked, this, &TFM_MultiSSIDNewForm::Delete);
    connect(ui->ApplyBtn, &QPushButton::clicked, this, &TFM_MultiSSIDNewForm::Save);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &TFM_MultiSSIDNewForm::reject);

    ui->CB_Index->setCurrentIndex(0);
    ui->DelButton->setEnabled(false);
    m_opening = true;
    // No group asks for objects that depend on another's answer: all go out at once.
    VrReadTogether together{m_apMode, m_band, m_state, m_priorityState, m_vlan, m_table};
    load(m_apMode);
    if (m_silent)
        qCWarning(lcMultiSsid) << "the device does not answer; reading stopped";
    load(m_band);
    m_warningArmed = load(m_state);
    m_priorityReadable = load(m_priorityState);
    load(m_vlan);
    walk();
    m_opening = m_silent = false;
}

TFM_MultiSSIDNewForm::~TFM_MultiSSIDNewForm() = default;

VrSNMPRequest2Edits *TFM_MultiSSIDNewForm::makeBinder(const VrSNMPVarDef *table, int kind, unsigned timeout,
                                                      const QString &description)
{
    return VrMakePageBinder(this, table, kind, ScaledTimeout(timeout), description, ui->StatusBar1, &m_lastError);
}

bool TFM_MultiSSIDNewForm::load(VrSNMPRequest2Edits *binder)
{
    // While the page opens, a device that has not answered is not asked
    // again: each further group would wait out its own time-out.
    if (m_silent) {
        binder->SkipLoad();
        return false;
    }
    m_lastError = 0;
    const bool ok = VrLoadShowingErrors(binder);
    m_silent = m_opening && !ok && m_lastError == VrErrTimeout;
    m_readFailed = m_readFailed || !ok;
    return ok;
}

bool TFM_MultiSSIDNewForm::apply(VrSNMPRequest2Edits *binder, bool readBack)
{
    m_lastError = 0;
    return VrApplyShowingErrors(binder, readBack);
}

void TFM_MultiSSIDNewForm::walk()
{
    walkDone(load(m_table));
}

void TFM_MultiSSIDNewForm::walkDone(bool ok)
{
    if (ok) {
        if (ui->CB_ApMode->currentIndex() < 0)
            load(m_apMode);
        // A failed read has said so in the status bar; that stays.
        if (!m_readFailed)
            ui->StatusBar1->setSimpleText(QStringLiteral("Get OK!"));
    }
    m_readFailed = false;
    indexChanged();
    multiSsidChanged();
    priorityChanged();
}

QTreeWidgetItem *TFM_MultiSSIDNewForm::tableRow(int index) const
{
    QTreeWidget *table = ui->MulSSIDListView;
    for (int i = 0; i < table->topLevelItemCount(); ++i) {
        if (table->topLevelItem(i)->text(ColIndex).toInt() == index)
            return table->topLevelItem(i);
    }
    return nullptr;
}

QList<MssidRow> TFM_MultiSSIDNewForm::rows() const
{
    QList<MssidRow> out;
    QTreeWidget *table = ui->MulSSIDListView;
    for (int i = 0; i < table->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *line = table->topLevelItem(i);
        MssidRow row;
        row.index = line->text(ColIndex).toInt();
        row.enabled = line->text(ColState) == kEnable;
        row.ssid = line->text(ColSsid);
        row.authentication = optionValue(gAuth, line->text(ColAuth));
        row.encryption = line->text(ColEncryption) == kEnable;
        row.keyIndex = optionValue(gKeyIndex, line->text(ColKeyIndex));
        out << row;
    }
    return out;
}

void TFM_MultiSSIDNewForm::multiSsidChanged()
{
    const bool on = multiSsid();
    if (on) {
        if (!m_listClick)
            rebuildList();
        if (m_warningArmed && ui->CB_ApMode->currentIndex() > 1) {
            m_warningArmed = false;
            VrMessageBox(this, QStringLiteral("If you enable Multi-SSID, AP Mode will be set to 'Access Point'!"),
                         QStringLiteral("Warning"));
        }
    } else {
        ui->IfEnablePriority->setChecked(false);
        ui->LV_MultiSSID_User->clear();
        m_warningArmed = true;
    }
    enableRowControls();
}

void TFM_MultiSSIDNewForm::priorityChanged()
{
    ui->CB_Priority->setEnabled(ui->IfEnablePriority->isEnabled() && ui->IfEnablePriority->isChecked());
}

void TFM_MultiSSIDNewForm::enableRowControls()
{
    const bool on = multiSsid();
    for (QWidget *control : std::initializer_list<QWidget *>{
             ui->Ed_SSID, ui->CB_SsidBroadcast, ui->CB_SecurityMode, ui->CB_WMM, ui->GB_Key, ui->GB_Passphrase,
             ui->CB_Index, ui->AddButton})
        control->setEnabled(on);
    ui->IfEnablePriority->setEnabled(on && m_priorityReadable);
    const int index = selectedIndex();
    const QTreeWidgetItem *row = tableRow(index);
    ui->DelButton->setEnabled(on && index > 1 && row && row->text(ColState) == kEnable);
    if (on) {
        // The SSIDs other than the primary follow the primary's encryption.
        ui->CB_MssidEncryption->setEnabled(index == 1);
        encryptionChanged();
    }
    priorityChanged();
}

void TFM_MultiSSIDNewForm::rebuildList()
{
    QTreeWidget *list = ui->LV_MultiSSID_User;
    list->clear();
    const QString band = ui->CB_Band->currentText();
    for (const MssidRow &row : rows()) {
        if (!row.enabled)
            continue;
        auto *line = new QTreeWidgetItem(list);
        line->setText(0, MssidListIndexText(row.index));
        line->setText(1, row.ssid);
        line->setText(2, band);
        line->setText(3, MssidEncryptionText(row.authentication, row.encryption));
    }
}

void TFM_MultiSSIDNewForm::listClicked(QTreeWidgetItem *line)
{
    const int index = MssidIndexOfListText(line->text(0));
    if (index == 0)
        return;
    m_listClick = true;
    ui->CB_Index->setCurrentIndex(index - 1);
    indexChanged();
    m_listClick = false;
}

void TFM_MultiSSIDNewForm::indexChanged()
{
    const int index = selectedIndex();
    Ui::TFM_MultiSSIDNewForm &u = *ui;
    if (QTreeWidgetItem *row = tableRow(index)) {
        // Selecting the hidden row shows its values in the bound controls.
        u.MulSSIDListView->clearSelection();
        u.MulSSIDListView->setCurrentItem(row);
        row->setSelected(true);
    }
    TFM_Wirless::selectText(u.CB_Priority, u.Edt_Priority->text().trimmed());
    if (u.CB_Priority->currentIndex() < 0)
        u.CB_Priority->setCurrentIndex(0);
    if (u.Edt_RadiusServer->text() == QLatin1String("0.0.0.0"))
        u.Edt_RadiusServer->clear();

    const SecurityChoices choices = SecurityChoicesFor(mode(), true, false);
    const SecurityPair pair = SecurityPairOf(optionValue(gAuth, u.CB_dot11Authentication->currentText()));
    setItems(u.CB_SecurityMode, choices.classes, EntryIndex(choices.classes, pair.authClass));
    setItems(u.CB_WPAMode, choices.wpaModes, EntryIndex(choices.wpaModes, pair.wpaMode));
    u.CB_WPAMode->setProperty("modeEnabled", choices.wpaModeEnabled);

    const KeyType type = u.CB_KeyType->currentText() == QLatin1String("Hex") ? KeyType::Hex : KeyType::Ascii;
    u.CB_WepEncryp->setCurrentIndex(Is128BitKey(type, u.Ed_Key->text()) ? 1 : 0);
    u.Ed_ConfirmKey->setText(u.Ed_Key->text());
    u.Ed_ConfirmPass->setText(u.Ed_Passphrase->text());
    m_passphraseRead = u.Ed_Passphrase->text();
    m_secretRead = u.Edt_RadiusSecret->text();
    keyFormatChanged();
    securityChanged();
    enableRowControls();
}

void TFM_MultiSSIDNewForm::securityChanged()
{
    Ui::TFM_MultiSSIDNewForm &u = *ui;
    const QString authClass = u.CB_SecurityMode->currentText();
    const bool wep = IsWepClass(authClass);
    u.GB_Key->setVisible(wep);
    u.GB_Passphrase->setVisible(!wep);
    if (!wep) {
        const bool enterprise = authClass == SecurityText::WpaEnterprise;
        u.GB_Passphrase->setTitle(enterprise ? QStringLiteral("RADIUS Server Settings")
                                             : QStringLiteral("PassPhrase Settings"));
        u.GB_Radius->setVisible(enterprise);
        u.FL_Passphrase->setRowVisible(u.Ed_Passphrase, !enterprise);
        u.FL_Passphrase->setRowVisible(u.Ed_ConfirmPass, !enterprise);
        const QStringList ciphers{QStringLiteral("Auto"), QStringLiteral("AES"), QStringLiteral("TKIP")};
        setItems(u.CB_CipherType, ciphers, EntryIndex(ciphers, u.CB_Clipher->currentText()));
        u.CB_WPAMode->setEnabled(u.CB_WPAMode->property("modeEnabled").toBool());
    }
    encryptionChanged();
    // The groups shown change with the security: the window follows them.
    FollowContents();
}

void TFM_MultiSSIDNewForm::encryptionChanged()
{
    const bool on = multiSsid() && ui->CB_MssidEncryption->currentText() == kEnable;
    for (QWidget *control : std::initializer_list<QWidget *>{ui->CB_WepEncryp, ui->CB_KeyType, ui->CB_DefaultKey,
                                                            ui->Ed_Key, ui->Ed_ConfirmKey})
        control->setEnabled(on);
}

// The key edits take the length of their type and size.
void TFM_MultiSSIDNewForm::keyFormatChanged()
{
    const KeyType type = ui->CB_KeyType->currentText() == QLatin1String("Hex") ? KeyType::Hex : KeyType::Ascii;
    const int length = KeyLength(type, ui->CB_WepEncryp->currentIndex() == 1);
    // A key the device reports masked keeps its length until it is replaced.
    if (!IsMaskedKey(ui->Ed_Key->text()))
        ui->Ed_Key->setMaxLength(length);
    ui->Ed_ConfirmKey->setMaxLength(std::max(length, int(ui->Ed_Key->text().size())));
}

void TFM_MultiSSIDNewForm::setRowIncluded(int item, bool included)
{
    uint8_t &flags = m_table->Request.VarList.Item(item).flags;
    flags = included ? uint8_t(flags & ~VrFlagExcluded) : uint8_t(flags | VrFlagExcluded);
}

void TFM_MultiSSIDNewForm::includeWholeRow()
{
    for (int item = ColState; item < ColCount; ++item)
        setRowIncluded(item, true);
}

bool TFM_MultiSSIDNewForm::refuse(const SaveProblem &problem)
{
    return RefuseSave(this, problem);
}

// Every check of the row runs before anything is written, so that a refused
// input leaves the device as it was.
bool TFM_MultiSSIDNewForm::checkRow(int index)
{
    Ui::TFM_MultiSSIDNewForm &u = *ui;
    // The primary row carries the radio's own SSID: an empty or malformed one
    // is refused there too.
    if (const Check p = CheckMssidSsid(u.Ed_SSID->text()))
        return refuse(*p);
    if (index > 1) {
        if (const Check p = CheckMssidSsidUnique(index, u.Ed_SSID->text(), rows()))
            return refuse(*p);
    }
    const QString authClass = u.CB_SecurityMode->currentText();
    if (authClass == SecurityText::WpaPersonal || authClass == SecurityText::WpaEnterprise) {
        if (const Check p = CheckRekeyInterval(u.Ed_UpdateInterval->text()))
            return refuse(*p);
    }
    if (authClass == SecurityText::WpaPersonal) {
        if (const Check p = CheckMssidPassphrase(u.Ed_Passphrase->text(), u.Ed_ConfirmPass->text()))
            return refuse(*p);
    } else if (authClass == SecurityText::WpaEnterprise) {
        if (const Check p = CheckMssidRadiusServer(u.Edt_RadiusServer->text()))
            return refuse(*p);
        if (const Check p = CheckRadiusPortAndSecret(u.Edt_RadiusPort->text(), u.Edt_RadiusSecret->text()))
            return refuse(*p);
    } else if (u.CB_MssidEncryption->currentText() == kEnable && !IsMaskedKey(u.Ed_Key->text())) {
        const KeyType type = u.CB_KeyType->currentText() == QLatin1String("Hex") ? KeyType::Hex : KeyType::Ascii;
        if (const Check p = CheckMssidWepKey(type, u.CB_WepEncryp->currentIndex() == 1, u.Ed_Key->text(),
                                             u.Ed_ConfirmKey->text()))
            return refuse(*p);
    }
    return true;
}

// A device in WDS or client mode runs no extra SSIDs: it is switched to
// "Access Point" before multi-SSID settings are written.
bool TFM_MultiSSIDNewForm::writeAccessPointFirst()
{
    if (!multiSsid() || ui->CB_ApMode->currentIndex() <= 1)
        return true;
    TFM_Wirless::selectText(ui->CB_ApMode, ApModeText(ApMode::AccessPoint));
    if (ui->CB_ApMode->currentIndex() < 0)
        ui->CB_ApMode->setCurrentIndex(0);
    qCInfo(lcMultiSsid) << "AP mode set to Access Point for multi-SSID";
    return apply(m_apMode);
}

void TFM_MultiSSIDNewForm::Add()
{
    Ui::TFM_MultiSSIDNewForm &u = *ui;
    const int index = selectedIndex();
    if (!tableRow(index)) {
        u.StatusBar1->setSimpleText(QStringLiteral("Save Fail!"));
        return;
    }
    if (!checkRow(index))
        return;

    const QString authClass = u.CB_SecurityMode->currentText();
    const int authentication = AuthenticationOf(authClass, u.CB_WPAMode->currentText());
    qCInfo(lcMultiSsid) << "add: row" << index << "authentication" << authentication;
    if (!writeAccessPointFirst()) {
        u.StatusBar1->setSimpleText(QStringLiteral("Save Fail!"));
        enableRowControls();
        return;
    }

    for (int item = ColState + 1; item < ColCount; ++item)
        setRowIncluded(item, false);
    for (int item : {ColSsid, ColSuppress, ColAuth, ColWmm, ColPriority})
        setRowIncluded(item, true);
    TFM_Wirless::selectText(u.CB_dot11Authentication, gAuth.ValueToText(QString::number(authentication)));
    TFM_Wirless::selectText(u.CB_IdvState, kEnable);
    u.Edt_Priority->setText(u.CB_Priority->currentText());
    if (authClass == SecurityText::WpaPersonal || authClass == SecurityText::WpaEnterprise) {
        TFM_Wirless::selectText(u.CB_Clipher, gCipher.ValueToText(QString::number(MssidCipherValue(u.CB_CipherType->currentText()))));
        setRowIncluded(ColCipher, true);
        setRowIncluded(ColInterval, true);
    }
    if (authClass == SecurityText::WpaPersonal) {
        setRowIncluded(ColPassphrase, u.Ed_Passphrase->text() != m_passphraseRead);
    } else if (authClass == SecurityText::WpaEnterprise) {
        setRowIncluded(ColRadiusServer, true);
        setRowIncluded(ColRadiusPort, true);
        setRowIncluded(ColRadiusSecret, u.Edt_RadiusSecret->text() != m_secretRead);
    } else {
        setRowIncluded(ColEncryption, true);
        if (u.CB_MssidEncryption->currentText() == kEnable) {
            if (KeyUsedByOtherSsid(index, optionValue(gKeyIndex, u.CB_DefaultKey->currentText()), rows())) {
                VrMessageBox(this,
                             QStringLiteral("Key value is used by SSID! \nTo change Key value affects other SSID "
                                            "settings."),
                             QStringLiteral("Warning"));
            }
            setRowIncluded(ColKeyIndex, true);
            setRowIncluded(ColKeyType, true);
            // The device reports keys masked; a masked key is its own.
            setRowIncluded(ColKey, !IsMaskedKey(u.Ed_Key->text()));
        }
    }

    const bool ok = apply(m_table);
    const bool answered = ok || m_lastError != VrErrTimeout;
    const QString failure = u.StatusBar1->simpleText();
    includeWholeRow();
    if (answered)
        walkDone(load(m_table));
    else
        enableRowControls();
    if (ok)
        u.StatusBar1->setSimpleText(QStringLiteral("Save SSID...!"));
    else
        u.StatusBar1->setSimpleText(answered ? QStringLiteral("Save Fail!") : failure);
    qCInfo(lcMultiSsid) << "add" << (ok ? "accepted" : "failed");
}

void TFM_MultiSSIDNewForm::Delete()
{
    const int index = selectedIndex();
    const QTreeWidgetItem *row = tableRow(index);
    if (index <= 1 || !row || row->text(ColState) != kEnable)
        return;
    for (int item = ColState + 1; item < ColCount; ++item)
        setRowIncluded(item, false);
    TFM_Wirless::selectText(ui->CB_IdvState, QStringLiteral("Disable"));
    ui->StatusBar1->setSimpleText(QStringLiteral("Deleting..."));
    const bool ok = apply(m_table);
    const bool answered = ok || m_lastError != VrErrTimeout;
    const QString result = ui->StatusBar1->simpleText();
    includeWholeRow();
    if (answered)
        walkDone(load(m_table));
    if (!ok)
        ui->StatusBar1->setSimpleText(result);
    qCInfo(lcMultiSsid) << "delete of row" << index << (ok ? "accepted" : "failed");
}

void TFM_MultiSSIDNewForm::Save()
{
    bool ok = writeAccessPointFirst() && apply(m_state);
    // A device without priorities has nothing to take.
    if (ok && m_priorityReadable)
        ok = apply(m_priorityState);
    ui->StatusBar1->setSimpleText(ok ? QStringLiteral("Save OK!") : QStringLiteral("Save Fail!"));
    qCInfo(lcMultiSsid) << "save" << (ok ? "accepted" : "failed");
    if (ok) {
        // The device may have changed the mode: the security choices follow it.
        indexChanged();
    }
}

ApMode TFM_MultiSSIDNewForm::mode() const
{
    const int value = ApModeFromText(ui->CB_ApMode->currentText());
    return value ? ApMode(value) : ApMode::AccessPoint;
}

int TFM_MultiSSIDNewForm::selectedIndex() const
{
    return std::clamp(ui->CB_Index->currentIndex(), 0, MssidRowCount - 1) + 1;
}

bool TFM_MultiSSIDNewForm::multiSsid() const
{
    return ui->IfEnabMuSSID->isChecked();
}
