#include "ModalPage.h"
#include "PageMenu.h"
#include "TAboutForm.h"
#include "TFM_DevInfo.h"
#include "TFM_Information.h"

#include <array>

std::span<const PageRegistration> InfoPages()
{
    static constexpr std::array Pages = std::to_array<PageRegistration>({
        {"TFM_Information", [](QWidget *owner) { RunModalPage(FM_Information, owner); }},
        {"TFM_DevInfo", [](QWidget *owner) { RunModalPage(FM_DevInfo, owner); }},
        {"TAboutForm", [](QWidget *owner) { RunModalPage(AboutForm, owner); }},
    });
    return Pages;
}
