#include "ModalPage.h"
#include "PageMenu.h"
#include "TClientInformation.h"
#include "TFM_FilterMACACL.h"

#include <array>

std::span<const PageRegistration> StationsPages()
{
    static constexpr std::array Pages = std::to_array<PageRegistration>({
        {"TClientInformation", [](QWidget *owner) { RunModalPage(ClientInformation, owner); }},
        {"TFM_FilterMACACL", [](QWidget *owner) { RunModalPage(FM_FilterMACACL, owner); }},
    });
    return Pages;
}
