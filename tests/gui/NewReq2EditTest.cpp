// The numbered list-view binder against the MAC access list of the simulated
// access point, whose free rows read 000000000000.
#include "AgentFixture.h"
#include "New_req2Edit.h"
#include "VrSNMPObjectTable.h"
#include "SnmpTestClient.h"

#include <QDialog>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

const char AccessListAdd[] = "1.3.6.1.4.1.48213.10.37.37.2.1.3.3.3.2.1.2.1";
const VrSNMPVarDef AccessList[] = {
    VarDef("1.3.6.1.4.1.48213.10.37.37.2.1.3.3.3.3.1.1", "dot11MacAccessControlListIndex", VrSyntaxInteger,
           VrFlagRead),
    VarDef("1.3.6.1.4.1.48213.10.37.37.2.1.3.3.3.3.1.2", "dot11MacAccessControlListMacAddress",
           VrSyntaxMacAddress, VrFlagRead),
    VarEnd};

class NumberedList : public AgentFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(AgentFixture::SetUp());

        m_binding = new New_req2Edit(&m_page);
        m_binding->Request.VarList = VrSNMPVarList(AccessList, VrListTable2, 0);
        m_binding->Asynchronous = false;
        m_binding->Placeholder = QStringLiteral("000000000000");
    }

    void addMac(const char *hex)
    {
        auto client = qrt::test::SnmpTestClient::community(m_agent.address(), "granite");
        ASSERT_TRUE(client.setBytes(AccessListAdd, qrt::test::macBytes(hex)).ok()) << hex;
    }

    QDialog m_page;
    New_req2Edit *m_binding = nullptr;
};

} // namespace

TEST_F(NumberedList, ListsOnlyUsedRowsNumberedFromOneOnEveryLoad)
{
    addMac("00AABBCCDDEE");
    addMac("0011223344FF");
    QTreeWidget view;
    m_binding->AttachListView(&view, false);

    for (int load = 0; load < 2; ++load) {
        m_binding->Load();
        ASSERT_EQ(view.topLevelItemCount(), 2) << "load " << load;
        EXPECT_EQ(view.topLevelItem(0)->text(0), QStringLiteral("1"));
        EXPECT_EQ(view.topLevelItem(0)->text(1), QStringLiteral("00AABBCCDDEE"));
        EXPECT_EQ(view.topLevelItem(1)->text(0), QStringLiteral("2"));
        EXPECT_EQ(view.topLevelItem(1)->text(1), QStringLiteral("0011223344FF"));
        EXPECT_EQ(m_binding->RowNumber(), 3);
    }
}

TEST_F(NumberedList, WithoutAListViewRowsGoToTheBoundControls)
{
    addMac("00AABBCCDDEE");
    QLineEdit mac;
    m_binding->BindFormat(1, QStringLiteral("%s"), {&mac});
    m_binding->Load();
    // The walk ends on the last row of the table, a free one.
    EXPECT_EQ(mac.text(), QStringLiteral("000000000000"));
    EXPECT_EQ(m_binding->RowNumber(), 1);
}
