#include "ModalPage.h"
#include "PageMenu.h"
#include "TFM_InternetConnect.h"
#include "TFM_QosSetting.h"
#include "TFM_Scheduling.h"

#include <array>

std::span<const PageRegistration> ServicesPages()
{
    static constexpr std::array Pages = std::to_array<PageRegistration>({
        {"TFM_Scheduling", [](QWidget *owner) { RunModalPage(FM_Scheduling, owner); }},
        {"TFM_QosSetting", [](QWidget *owner) { RunModalPage(FM_QosSetting, owner); }},
        {"TFM_InternetConnect", [](QWidget *owner) { RunModalPage(FM_InternetConnect, owner); }},
    });
    return Pages;
}
