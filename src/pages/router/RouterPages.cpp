#include "ModalPage.h"
#include "PageMenu.h"
#include "TFM_AdPortfwding.h"
#include "TFM_Adnetwork.h"
#include "TFM_FirewallDMZ.h"
#include "TFM_ParentalCtr.h"
#include "TFM_RouterMACFilter.h"

#include <array>

std::span<const PageRegistration> RouterPages()
{
    static constexpr std::array Pages = std::to_array<PageRegistration>({
        {"TFM_ParentalCtr", [](QWidget *owner) { RunModalPage(FM_ParentalCtr, owner); }},
        {"TFM_AdPortfwding", [](QWidget *owner) { RunModalPage(FM_AdPortfwding, owner); }},
        {"TFM_RouterMACFilter", [](QWidget *owner) { RunModalPage(FM_RouterMACFilter, owner); }},
        {"TFM_FirewallDMZ", [](QWidget *owner) { RunModalPage(FM_FirewallDMZ, owner); }},
        {"TFM_Adnetwork", [](QWidget *owner) { RunModalPage(FM_Adnetwork, owner); }},
    });
    return Pages;
}
