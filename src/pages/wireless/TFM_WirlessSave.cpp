// Save of the wireless settings page: the checks, the marking of the objects
// that take part, and the writes in the order the device needs them.

#include "TFM_Wirless.h"

#include "RefuseSave.h"
#include "TFM_WirlessTables.h"
#include "ui_TFM_Wirless.h"

#include "AddressValidators.h"
#include "VrMessageBox.h"
#include "VrOptionList.h"
#include "VrSNMPRequest2Edits.h"

#include <QLoggingCategory>
#include <QTreeWidget>

namespace {

// Selects the entry of a bound combo that stands for a raw value.
void selectValue(VrSNMPRequest2Edits *binder, int item, QComboBox *combo, int value)
{
    const VrOptionList *options = binder->Request.VarList.Item(item).options;
    TFM_Wirless::selectText(combo, options->ValueToText(QString::number(value)));
}

} // namespace

void TFM_Wirless::Save()
{
    if (m_scanning)
        return;
    if (const Check problem = CheckSsid(ui->Ed_SSID->text())) {
        refuse(*problem);
        return;
    }

    const ApMode m = mode();
    const QString authClass = ui->CB_SecurityMode->currentText();
    const bool encryption = ui->CB_dot11Encryption->currentText() == TextEnable;
    const int authentication = AuthenticationOf(authClass, ui->CB_WPAMode->currentText());
    qCInfo(lcWireless) << "save: mode" << int(m) << "authentication" << authentication;

    setSecurityGroupsIncluded(false);
    selectValue(m_security, WlAuthentication, ui->CB_dot11Authentication, authentication);

    bool ok = true;
    for (WriteGroup group : PreludeWrites(country(), m, multiSsid())) {
        if (!(ok = writeGroup(group)))
            break;
    }
    if (ok && !checkBeforeWrites()) {
        setSecurityGroupsIncluded(true);
        return;
    }
    if (ok) {
        for (WriteGroup group : SecurityWrites(m, authClass, encryption)) {
            if (!(ok = writeGroup(group)))
                break;
        }
    }
    // Also after a failure, so that the next read covers the whole page.
    setSecurityGroupsIncluded(true);
    if (!ok) {
        qCWarning(lcWireless) << "save failed";
        ui->StatusBar1->setSimpleText(QStringLiteral("Setting error!"));
        return;
    }
    Refresh();
    ui->StatusBar1->setSimpleText(QStringLiteral("Setting Success!"));
}

// The checks of the chosen mode and class; they run once the band is written
// and before anything of the security is.
bool TFM_Wirless::checkBeforeWrites()
{
    const ApMode m = mode();
    const QString authClass = ui->CB_SecurityMode->currentText();
    const bool encryption = ui->CB_dot11Encryption->currentText() == TextEnable;

    if (authClass == SecurityText::SharedKey || (authClass == SecurityText::OpenSystem && encryption)) {
        warnSharedKeys();
        const int k = selectedKey();
        const QString key = keyEdit(k)->text();
        // A masked key is the device's own and is not written; nothing to check.
        if (!IsMaskedKey(key)) {
            const KeyType type = keyType(k)->currentText() == QLatin1String("HEX") ? KeyType::Hex : KeyType::Ascii;
            if (const Check p = CheckWepKey(k + 1, type, keySize(k)->currentIndex() == 1, key,
                                            ui->Ed_ConfirmKey->text()))
                return refuse(*p);
        }
    }
    if (authClass == SecurityText::WpaPersonal || authClass == SecurityText::WpaEnterprise) {
        if (const Check p = CheckGroupKeyInterval(ui->Ed_UpdateInterval->text()))
            return refuse(*p);
    }
    if (authClass == SecurityText::WpaPersonal) {
        if (const Check p = CheckPassphrase(ui->Ed_Passphrase->text(), ui->Ed_ConfirmPass->text()))
            return refuse(*p);
    }
    if (authClass == SecurityText::WpaEnterprise) {
        if (!IsValidIPAddress(ui->Edt_RadiusServer->text())) {
            return refuse({QStringLiteral("The Radius server's IP is illegal."), QStringLiteral("Error"),
                           QStringLiteral("Edt_RadiusServer")});
        }
        if (const Check p = CheckRadiusPortAndSecret(ui->Edt_RadiusPort->text(), ui->Edt_RadiusSecret->text()))
            return refuse(*p);
    }
    if (m == ApMode::Wds || m == ApMode::WdsWithAp) {
        QStringList peers;
        for (int i = 0; i < WlPeerCount; ++i)
            peers << peerEdit(i)->text();
        if (const Check p = CheckWdsPeers(peers))
            return refuse(*p);
    }
    if (m == ApMode::WirelessClient && ui->CBH_CloneMACStatus->isChecked()
        && ui->CB_MACSource->currentText() == QLatin1String("Manual")
        && ui->LV_CloneMACSurvey->topLevelItemCount() == 0) {
        return refuse({QStringLiteral("Invaild MAC address!"), QStringLiteral("Warning"),
                       QStringLiteral("Edt_MACAddr")});
    }
    return true;
}

bool TFM_Wirless::refuse(const SaveProblem &problem)
{
    return RefuseSave(this, problem);
}

// The WEP keys are shared with the other SSIDs; changing them affects those
// that use WEP too.
void TFM_Wirless::warnSharedKeys()
{
    QTreeWidget *rows = ui->MssidListView;
    for (int i = 0; i < rows->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = rows->topLevelItem(i);
        const QString auth = row->text(3);
        if (row->text(0) != QLatin1String("1") && row->text(1) == TextEnable
            && (auth == QLatin1String("1") || auth == QLatin1String("2"))) {
            VrMessageBox(this,
                         QStringLiteral("Key value is used by SSID! \nTo change Key value affects other SSID "
                                        "settings."),
                         QStringLiteral("Warning"));
            return;
        }
    }
}

bool TFM_Wirless::writeGroup(WriteGroup group)
{
    const QString authClass = ui->CB_SecurityMode->currentText();
    const bool wepKeys = authClass == SecurityText::SharedKey
                      || (authClass == SecurityText::OpenSystem && ui->CB_dot11Encryption->currentText() == TextEnable);
    switch (group) {
    case WriteGroup::Application:
        selectValue(m_channelLists, WlApplication, ui->CB_App, ui->CB_Applicaiton->currentIndex() + 1);
        return apply(m_channelLists);
    case WriteGroup::MultiSsidOff:
        selectText(ui->CB_MultEnable, QStringLiteral("Disable"));
        return apply(m_mssidState);
    case WriteGroup::Band:
        return apply(m_band);
    case WriteGroup::WepKey: {
        VrSNMPRequest2Edits *key = m_keys[size_t(selectedKey())];
        const QString text = keyEdit(selectedKey())->text();
        setIncluded(key, 0, true);
        setIncluded(key, 1, !text.isEmpty() && !IsMaskedKey(text));
        return apply(key);
    }
    case WriteGroup::ApMode:
        // Only a mode the user chose: the device's own (a router's, say) stays.
        if (ui->CB_APMode->currentText().compare(m_apModeRead, Qt::CaseInsensitive) == 0)
            return true;
        return apply(m_apMode);
    case WriteGroup::Basic: {
        const BasicWrite writes = BasicWritesFor(mode());
        ui->Ed_Channel->setText(ui->CB_Chanal->currentText());
        for (int item : {WlSsid, WlChannel, WlChannelWidth})
            setIncluded(m_basic, item, true);
        setIncluded(m_basic, WlSsidBroadcast, writes.ssidBroadcast);
        setIncluded(m_basic, WlAutoChannelScan, writes.autoChannelScan);
        return apply(m_basic);
    }
    case WriteGroup::Radius:
        for (int item : {WlRadiusServer, WlRadiusPort, WlNetProtect})
            setIncluded(m_radius, item, true);
        setIncluded(m_radius, WlRadiusSecret, ui->Edt_RadiusSecret->text() != m_radiusSecretRead);
        return apply(m_radius);
    case WriteGroup::Passphrase:
        selectText(ui->CB_Clipher, ui->CB_CipherType->currentText().toLower());
        setIncluded(m_passphrase, WlCipherType, true);
        setIncluded(m_passphrase, WlPassPhrase,
                    authClass == SecurityText::WpaPersonal && ui->Ed_Passphrase->text() != m_passphraseRead);
        setIncluded(m_passphrase, WlGroupKeyInterval, ui->Ed_UpdateInterval->text() != m_intervalRead);
        return apply(m_passphrase);
    case WriteGroup::Security:
        setIncluded(m_security, WlAuthentication, true);
        setIncluded(m_security, WlEncryption, IsWepClass(authClass));
        setIncluded(m_security, WlKeyIndex, wepKeys);
        return apply(m_security);
    case WriteGroup::WdsPeers:
        return writePeers();
    case WriteGroup::MacClone: {
        const bool on = ui->CBH_CloneMACStatus->isChecked();
        const bool manual = ui->CB_MACSource->currentText() == QLatin1String("Manual");
        if (on && !manual)
            ui->Edt_MACAddr->clear();
        setIncluded(m_clone, WlCloneStatus, true);
        setIncluded(m_clone, WlCloneSource, on);
        setIncluded(m_clone, WlCloneMac, on && manual);
        return apply(m_clone);
    }
    }
    return false;
}

// The device's peer list is emptied first and then filled from the fields,
// one addition per peer, so the list ends up as the fields show it.
bool TFM_Wirless::writePeers()
{
    selectText(ui->CB_RemoveMac, QStringLiteral("deleteall"));
    setIncluded(m_wdsPeers, WlPeerDeleteAll, true);
    bool ok = apply(m_wdsPeers);
    setIncluded(m_wdsPeers, WlPeerDeleteAll, false);
    for (int i = 0; ok && i < WlPeerCount; ++i) {
        if (!IsFilledMac(peerEdit(i)->text()))
            continue;
        setIncluded(m_wdsPeers, i, true);
        ok = apply(m_wdsPeers);
        setIncluded(m_wdsPeers, i, false);
    }
    return ok;
}

void TFM_Wirless::setIncluded(VrSNMPRequest2Edits *binder, int item, bool included)
{
    uint8_t &flags = binder->Request.VarList.Item(item).flags;
    flags = included ? uint8_t(flags & ~VrFlagExcluded) : uint8_t(flags | VrFlagExcluded);
}

// The groups that Save takes in one by one. The peer additions and the
// delete-all are commands: they stay out of every exchange but the ones Save
// makes for them.
void TFM_Wirless::setSecurityGroupsIncluded(bool included)
{
    std::vector<VrSNMPRequest2Edits *> groups{m_basic, m_security, m_radius, m_passphrase};
    groups.insert(groups.end(), m_keys.begin(), m_keys.end());
    for (VrSNMPRequest2Edits *binder : groups) {
        for (int i = 0; i < binder->Request.VarList.Count(); ++i)
            setIncluded(binder, i, included);
    }
}
