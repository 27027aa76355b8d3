#include "graphics/graphics_table.h"

#include "graphics/bitmap_table.h"
#include "graphics/present_interval.h"
#include "graphics/render_states.h"
#include "graphics/sprite_drawer.h"

namespace {

// The operations in the table's (alphabetical) order.
HV_GraphicsInterface g_graphicsTable = {
    HV_Graphics_Clear,
    HV_Graphics_DrawBitmap,
    HV_Graphics_GetBitmap,
    HV_Graphics_GetBlendMode,
    HV_Graphics_GetPresentInterval,
    HV_Graphics_GetRenderStatei,
    HV_Graphics_LoadBitmap,
    HV_Graphics_ReleaseBitmap,
    HV_Graphics_SetBlendMode,
    HV_Graphics_SetPresentInterval,
    HV_Graphics_SetRenderStatei,
};

}  // namespace

HV_GraphicsInterface* HVI_GetGraphicsTable() { return &g_graphicsTable; }
