#include "extensions/module_registry.h"
#include "extensions/service_tables.h"

namespace {

void HV_Statistics_SetStatistic(uint32_t first, uint32_t second, void* third, void* fourth)
{
    if (StatisticImplementation* implementation = HVI_GetStatisticImplementation())
        implementation->SetStatistic(first, second, third, fourth);
}

HV_StatisticsInterface g_table = {
    HV_Statistics_SetStatistic,
};

}  // namespace

HV_StatisticsInterface* HVI_GetStatisticsInterface() { return &g_table; }
