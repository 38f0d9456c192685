#include "controls/wizardimages.h"

#include "framework/bitmap.h"
#include "framework/handles.h"

namespace pendo {

void FillWizardImages(timagelist& images) {
  const int w = images.Width(), h = images.Height();
  const tcolor mask = 0xFF00FF;
  tbitmap strip(w * 5, h);
  tcanvas& c = strip.Canvas();
  c.Brush.SetColor(mask);
  c.Pen.SetColor(mask);
  c.Rectangle(0, 0, w * 5, h);
  auto box = [&](int x, int l, int t, int r, int b, tcolor fill) {
    c.Pen.SetColor(clBlack);
    c.Brush.SetColor(fill);
    c.Rectangle(x + l * w / 16, t * h / 16, x + r * w / 16, b * h / 16);
  };
  box(0, 2, 2, 14, 14, 0xC08040);  // root: a blue book
  box(0, 4, 4, 12, 12, clWhite);
  box(w, 1, 4, 15, 14, 0x40C0F0);  // closed group: a yellow folder
  box(w, 1, 2, 7, 5, 0x40C0F0);
  box(2 * w, 1, 4, 15, 14, 0x80E0FF);  // open group: a lighter, opened folder
  box(2 * w, 3, 7, 15, 14, 0x40C0F0);
  box(3 * w, 3, 1, 13, 15, clWhite);  // page
  box(4 * w, 5, 2, 11, 14, 0x40A040);  // item: a green bell
  box(4 * w, 7, 12, 9, 15, 0x40A040);
  tbitmaphandle bitmap(strip.ReleaseHandle());
  images.AddMasked(bitmap.get(), RGB(255, 0, 255));
}

}  // namespace pendo
