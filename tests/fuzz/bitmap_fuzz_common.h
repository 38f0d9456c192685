// Shared by the bitmap fuzz targets: after a successful load, the picture
// must survive saving and loading again, and every format change must either
// work or raise one of the engine's errors.
#pragma once

#include <cstdlib>
#include <cstring>
#include <string>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/internaldib.h"

namespace pendo::fuzz {

inline std::string Save(const tinternaldib& dib) {
  tstringsink out;
  dib.SaveToStream(out);
  return out.Bytes;
}

inline void CheckLoaded(tinternaldib& dib) {
  const std::string file = Save(dib);
  tinternaldib again;
  tmemorysource in(file);
  again.LoadFromStream(in);
  if (Save(again) != file) std::abort();
  // Conversions only on small pictures: the fine reduction is meant for
  // screens, not for the fuzzer's time budget.
  if (uint64_t(dib.Width) * uint64_t(dib.Height) > 4096) return;
  const int from = dib.GetPixelsFormat();
  for (int target = 0; target < 6; ++target) {
    tinternaldib copy;
    tmemorysource in2(file);
    copy.LoadFromStream(in2);
    try {
      copy.SetPixelsFormat(target, target % 2, nullptr, 0xFFFFFF);
      if (copy.GetPixelsFormat() != target) std::abort();
    } catch (const EtbitmapexError&) {
      // Run-length data may be damaged, and pictures may not compress.
      if (copy.GetPixelsFormat() != from) std::abort();
    }
  }
}

}  // namespace pendo::fuzz
