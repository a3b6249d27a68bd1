#include "ModalPage.h"
#include "PageMenu.h"
#include "TClientInformation.h"

#include <array>

std::span<const PageRegistration> StationsPages()
{
    static constexpr std::array Pages = std::to_array<PageRegistration>({
        {"TClientInformation", [](QWidget *owner) { RunModalPage(ClientInformation, owner); }},
    });
    return Pages;
}
