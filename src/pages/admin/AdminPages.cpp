#include "ModalPage.h"
#include "PageMenu.h"
#include "TFM_Admin2.h"
#include "TFM_Time.h"

#include <array>

std::span<const PageRegistration> AdminPages()
{
    static constexpr std::array Pages = std::to_array<PageRegistration>({
        {"TFM_Admin2", [](QWidget *owner) { RunModalPage(FM_Admin2, owner); }},
        {"TFM_Time", [](QWidget *owner) { RunModalPage(FM_Time, owner); }},
    });
    return Pages;
}
