// The bitmap engine's core: the internal DIB, its conversions and its
// run-length codecs.
#pragma once

#include "bitmap/bitmapexceptions.h"
#include "bitmap/colorreduction.h"
#include "bitmap/dibformat.h"
#include "bitmap/formatconversions.h"
#include "bitmap/internaldib.h"
#include "bitmap/pixelmemory.h"
#include "bitmap/rle.h"
