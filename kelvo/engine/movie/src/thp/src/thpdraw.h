// Drawing a decoded THP picture: the graphics processor converts the Y, U and V intensity
// textures to RGB in four texture-environment stages. Main thread only.
#pragma once

#include <console/gx.h>

void THPGXYuv2RgbSetup(const GXRenderModeObj* mode);
void THPGXYuv2RgbDraw(unsigned char* y_data, unsigned char* u_data, unsigned char* v_data, short x,
                      short y, short textureWidth, short textureHeight, short polygonWidth,
                      short polygonHeight);
void THPGXRestore();
