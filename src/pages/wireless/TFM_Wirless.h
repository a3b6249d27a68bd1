#pragma once

#include "WirelessRules.h"

#include <QDialog>
#include <QLoggingCategory>
#include <QString>
#include <array>
#include <memory>

namespace Ui {
class TFM_Wirless;
}
class QComboBox;
class QLineEdit;
class QTreeWidgetItem;
class VrSNMPRequest2Edits;
struct VrSNMPError;
struct VrSNMPVarDef;

// Home > Wireless: band, operation mode, SSID, channel, security with its
// keys, passphrase and RADIUS server, WDS peers, site survey and MAC cloning.
// Reads the device when it is created; Save checks the input and writes the
// groups in the order the chosen mode and security need.
Q_DECLARE_LOGGING_CATEGORY(lcWireless)

class TFM_Wirless : public QDialog
{
    Q_OBJECT

public:
    explicit TFM_Wirless(QWidget *parent = nullptr);
    ~TFM_Wirless() override;

    void Refresh();
    void Save();

    // Selects the entry with that text, or none.
    static void selectText(QComboBox *combo, const QString &text);

protected:
    // Closing is refused while a site survey runs.
    void reject() override;

private:
    enum Family { FamilyApClient, FamilyWdsWithAp, FamilyWds };
    static inline const QString TextEnable = QStringLiteral("Enable");

    VrSNMPRequest2Edits *makeBinder(const VrSNMPVarDef *table, int kind, unsigned timeout,
                                    const QString &description);
    bool load(VrSNMPRequest2Edits *binder);
    bool answers(VrSNMPRequest2Edits *first);
    bool apply(VrSNMPRequest2Edits *binder);
    void bindAll();
    void readAll();
    auto readingRound();
    void afterSecurityRead();
    void afterPeersRead();
    void afterCloneRead();
    void bindApMode();
    void takeApModeRead();

    // Handlers, named after what the user changes.
    void bandChanged();
    void applicationChanged();
    void apModeChanged();
    void securityModeChanged();
    void keyIndexChanged();
    void encryptionChanged();
    void keyFormatChanged();
    void autoScanChanged();
    void cloneStatusChanged();
    void cloneSourceChanged();

    void fillChannels();
    void fillSecurityCombos();
    void layoutByMode();
    void layoutForCountry();
    void updateChannelWidth();
    void showVlanWarning();
    void updateSiteScanButton();

    void siteScan();
    void siteScanTriggered(const VrSNMPError &result);
    void siteScanFinished(const VrSNMPError &result);
    void setExchangeButtons(bool enabled);
    void cloneScan();
    void clientSurveyClicked(QTreeWidgetItem *row);
    void wdsSurveyClicked(QTreeWidgetItem *row);

    // Save
    bool checkBeforeWrites();
    bool refuse(const SaveProblem &problem);
    bool writeGroup(WriteGroup group);
    bool writePeers();
    void setIncluded(VrSNMPRequest2Edits *binder, int item, bool included);
    void setSecurityGroupsIncluded(bool included);
    void warnSharedKeys();

    ApMode mode() const;
    bool band5() const;
    QString country() const;
    bool multiSsid() const;
    Family family() const;
    QLineEdit *keyEdit(int index) const;
    QComboBox *keyType(int index) const;
    QComboBox *keySize(int index) const;
    QLineEdit *peerEdit(int index) const;
    int selectedKey() const; // 0..3

    std::unique_ptr<Ui::TFM_Wirless> ui;

    VrSNMPRequest2Edits *m_country = nullptr;
    VrSNMPRequest2Edits *m_vlan = nullptr;
    VrSNMPRequest2Edits *m_mssidTable = nullptr;
    VrSNMPRequest2Edits *m_band = nullptr;
    VrSNMPRequest2Edits *m_basic = nullptr;
    VrSNMPRequest2Edits *m_channelDb = nullptr;
    VrSNMPRequest2Edits *m_channelLists = nullptr;
    VrSNMPRequest2Edits *m_wifiMode = nullptr;
    VrSNMPRequest2Edits *m_mssidState = nullptr;
    VrSNMPRequest2Edits *m_modeStatus = nullptr;
    VrSNMPRequest2Edits *m_apMode = nullptr;
    VrSNMPRequest2Edits *m_passphrase = nullptr;
    VrSNMPRequest2Edits *m_radius = nullptr;
    VrSNMPRequest2Edits *m_security = nullptr;
    std::array<VrSNMPRequest2Edits *, 4> m_keys{};
    VrSNMPRequest2Edits *m_wdsPeers = nullptr;
    VrSNMPRequest2Edits *m_wdsList = nullptr;
    VrSNMPRequest2Edits *m_siteTrigger = nullptr;
    VrSNMPRequest2Edits *m_siteSurvey = nullptr;
    VrSNMPRequest2Edits *m_wdsTrigger = nullptr;
    VrSNMPRequest2Edits *m_wdsSurvey = nullptr;
    VrSNMPRequest2Edits *m_clone = nullptr;
    VrSNMPRequest2Edits *m_cloneTrigger = nullptr;
    VrSNMPRequest2Edits *m_cloneSurvey = nullptr;
    VrSNMPRequest2Edits *m_scanSurvey = nullptr; // the survey a running scan walks

    QString m_apModeRead;       // display text of the mode as last read
    QString m_passphraseRead;   // secrets equal to these are not written again
    QString m_radiusSecretRead;
    QString m_intervalRead;
    QString m_authClassRead;
    std::array<QString, 3> m_authChoice; // per mode family
    QString m_wpaModeChoice;
    QString m_cipherChoice;
    bool m_restricted = false;  // the AP-mode list in force is the short one
    bool m_vlanWarned = false;
    bool m_clientMode = false;  // the device runs (or was last saved) as a client
    bool m_scanning = false;
    int m_lastError = 0;        // code of the last exchange
    bool m_reading = false;     // in a round of reads (opening, Refresh)
    bool m_silent = false;      // the device did not answer in this round
    bool m_roundFailed = false; // a read of this round failed
};

// The open wireless page, or null.
extern TFM_Wirless *FM_Wirless;
