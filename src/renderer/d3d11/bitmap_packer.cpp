#include "renderer/d3d11/bitmap_packer.h"

#include <cstdlib>

BitmapPacker::~BitmapPacker()
{
    if (m_ownsTarget) std::free(m_target);
}

bool BitmapPacker::BeginPacking(HV_Bitmap*, bool) { return false; }

bool BitmapPacker::BitmapTexturePacker() { return false; }

void BitmapPacker::FillPadding(int32_t) {}
