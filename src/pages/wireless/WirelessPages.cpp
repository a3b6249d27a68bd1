#include "ModalPage.h"
#include "PageMenu.h"
#include "TFM_MultiSSIDNewForm.h"
#include "TFM_Performace.h"
#include "TFM_WLANPart.h"
#include "TFM_Wirless.h"

#include <array>

std::span<const PageRegistration> WirelessPages()
{
    static constexpr std::array Pages = std::to_array<PageRegistration>({
        {"TFM_Wirless", [](QWidget *owner) { RunModalPage(FM_Wirless, owner); }},
        {"TFM_MultiSSIDNewForm", [](QWidget *owner) { RunModalPage(FM_MultiSSIDNewForm, owner); }},
        {"TFM_Performace", [](QWidget *owner) { RunModalPage(FM_Performace, owner); }},
        {"TFM_WLANPart", [](QWidget *owner) { RunModalPage(FM_WLANPart, owner); }},
    });
    return Pages;
}
