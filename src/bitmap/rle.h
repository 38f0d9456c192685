// Run-length compression of 8-bit and 4-bit pictures in the DIB's BI_RLE8
// and BI_RLE4 forms. The encoders refuse (EtbitmapexCompressionFailed) to
// produce a stream larger than the plain pixels; the decoders refuse
// (EtbitmapexInvalidDIB) streams that lead outside the stored rows, clip
// pixels that fall in a row's padding, and end the picture where a stream
// ends without its end-of-bitmap code. src is never changed; dst is only
// written on success.
#pragma once

#include "bitmap/dibformat.h"

namespace pendo {

void Convert8BitRGBTo8BitRLE(const tdibinfo& src, tdibinfo& dst);
void Convert4BitRGBTo4BitRLE(const tdibinfo& src, tdibinfo& dst);
void Convert8BitRLETo8BitRGB(const tdibinfo& src, tdibinfo& dst);
void Convert4BitRLETo4BitRGB(const tdibinfo& src, tdibinfo& dst);

}  // namespace pendo
