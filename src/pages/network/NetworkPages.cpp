#include "ModalPage.h"
#include "PageMenu.h"
#include "TFM_DHCP.h"
#include "TFM_LanCfg.h"
#include "TFM_VlanSetting.h"

#include <array>

std::span<const PageRegistration> NetworkPages()
{
    static constexpr std::array Pages = std::to_array<PageRegistration>({
        {"TFM_LanCfg", [](QWidget *owner) { RunModalPage(FM_LanCfg, owner); }},
        {"TFM_DHCP", [](QWidget *owner) { RunModalPage(FM_DHCP, owner); }},
        {"TFM_VlanSetting", [](QWidget *owner) { RunModalPage(FM_VlanSetting, owner); }},
    });
    return Pages;
}
