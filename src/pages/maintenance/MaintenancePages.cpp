#include "ModalPage.h"
#include "PageMenu.h"
#include "TFM_CfgFile.h"
#include "TFM_Firmware.h"
#include "TFM_Sytem.h"
#include "TLogForm.h"
#include "TLogSetForm.h"

#include <array>

std::span<const PageRegistration> MaintenancePages()
{
    static constexpr std::array Pages = std::to_array<PageRegistration>({
        {"TFM_Sytem", [](QWidget *owner) { RunModalPage(FM_Sytem, owner); }},
        {"TFM_CfgFile", [](QWidget *owner) { RunModalPage(FM_CfgFile, owner); }},
        {"TFM_Firmware", [](QWidget *owner) { RunModalPage(FM_Firmware, owner); }},
        {"TLogForm", [](QWidget *owner) { RunModalPage(LogForm, owner); }},
        {"TLogSetForm", [](QWidget *owner) { RunModalPage(LogSetForm, owner); }},
    });
    return Pages;
}
