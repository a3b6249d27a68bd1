#include "ModalPage.h"
#include "PageMenu.h"
#include "TClientInformation.h"
#include "TFM_FilterMACACL.h"
#include "TFM_RogueAP.h"
#include "TFM_StatWLAN.h"
#include "TFM_Static.h"
#include "TFM_WDSInfo.h"

#include <array>

std::span<const PageRegistration> StationsPages()
{
    static constexpr std::array Pages = std::to_array<PageRegistration>({
        {"TClientInformation", [](QWidget *owner) { RunModalPage(ClientInformation, owner); }},
        {"TFM_FilterMACACL", [](QWidget *owner) { RunModalPage(FM_FilterMACACL, owner); }},
        {"TFM_StatWLAN", [](QWidget *owner) { RunModalPage(FM_StatWLAN, owner); }},
        {"TFM_Static", [](QWidget *owner) { RunModalPage(FM_Static, owner); }},
        {"TFM_WDSInfo", [](QWidget *owner) { RunModalPage(FM_WDSInfo, owner); }},
        {"TFM_RogueAP", [](QWidget *owner) { RunModalPage(FM_RogueAP, owner); }},
    });
    return Pages;
}
