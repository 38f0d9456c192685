#include "bitmap/bitmapexclasses.h"

#include <memory>

#include "bitmap/bitmapex.h"
#include "framework/graphic.h"

namespace pendo {

void RegisterBitmapExClasses() {
  const tgraphicfactory factory = [] { return std::unique_ptr<tgraphic>(new tbitmapex); };
  tpicture::RegisterFileFormat("dib", "Device Independent Bitmap", factory);
  tpicture::RegisterClipboardFormat(CF_DIB, factory);
}

}  // namespace pendo
