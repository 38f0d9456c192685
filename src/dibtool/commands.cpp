#include "dibtool/commands.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

#include "bitmap/bitmapexceptions.h"
#include "bitmap/internaldib.h"
#include "dibtool/dibpixels.h"
#include "dibtool/netpbm.h"
#include "dibtool/progressbar.h"
#include "settings/fileerror.h"
#include "settings/platform.h"

namespace pendo::dibtool {

namespace {

const char kUsage[] =
    "usage: dibtool COMMAND [ARGS]\n"
    "\n"
    "Inspect, decode and convert device-independent bitmaps (BMP files).\n"
    "\n"
    "commands:\n"
    "  info FILE                          print the header fields and the pixel format\n"
    "  decode FILE OUT.ppm [OUT.pgm]      write the pixels as PPM (and palette indices as PGM)\n"
    "  convert FILE OUT.bmp --format CODE [--fine] [--mask RRGGBB]\n"
    "                                     change the pixel format and save\n"
    "\n"
    "option of decode and convert:\n"
    "  --max-pixels N   refuse pictures of more than N pixels (width x height);\n"
    "                   the default 134217728 (128 Mi) keeps memory and output\n"
    "                   below about 1 GiB\n"
    "\n"
    "'dibtool COMMAND --help' tells more. Exit codes: 0 done, 1 the engine refused\n"
    "the picture or it is larger than the pixel limit, 2 any other failure (bad\n"
    "arguments, unreadable or unwritable file).\n";

const char kInfoHelp[] =
    "usage: dibtool info FILE\n"
    "\n"
    "Prints the header size as stored in the file, then the picture as the engine\n"
    "holds it after loading: width, signed height (negative: top row first), bit\n"
    "count, compression (0 none, 1 RLE8, 2 RLE4), colours used, size of the pixel\n"
    "data in bytes, and the pixel format code:\n"
    "  0 = 1 bit, 1 = 4 bits, 2 = 4 bits RLE, 3 = 8 bits, 4 = 8 bits RLE, 5 = 24 bits.\n"
    "16 and 32 bit files are read as 24 bits.\n";

const char kDecodeHelp[] =
    "usage: dibtool decode FILE OUT.ppm [OUT.pgm] [--max-pixels N]\n"
    "\n"
    "Loads FILE and writes its pixels as a binary PPM (P6), top row first. For 1, 4\n"
    "and 8 bit pictures (compressed or not) OUT.pgm receives the palette indices as\n"
    "a binary PGM (P5). Pictures of more than N pixels (default 134217728) are\n"
    "refused with exit code 1 before any work.\n";

const char kConvertHelp[] =
    "usage: dibtool convert FILE OUT.bmp --format CODE [--fine] [--mask RRGGBB] [--max-pixels N]\n"
    "\n"
    "Changes the picture to pixel format CODE and saves it:\n"
    "  0 = 1 bit, 1 = 4 bits, 2 = 4 bits RLE, 3 = 8 bits, 4 = 8 bits RLE, 5 = 24 bits.\n"
    "--fine    the fine colour reduction (slower, closer colours); the fast one otherwise\n"
    "--mask    for 1 bit: the colour (hex RRGGBB) that becomes the set bits\n"
    "--max-pixels  refuse pictures of more than N pixels (default 134217728)\n"
    "A progress bar is drawn on standard error while a reduction runs on a terminal.\n";

// Names the engine's error for the user.
const char* ErrorClass(const std::exception& e) {
  if (dynamic_cast<const EtbitmapexInvalidDIBFile*>(&e)) return "EtbitmapexInvalidDIBFile";
  if (dynamic_cast<const EtbitmapexInvalidDIBPara*>(&e)) return "EtbitmapexInvalidDIBPara";
  if (dynamic_cast<const EtbitmapexInvalidDIB*>(&e)) return "EtbitmapexInvalidDIB";
  if (dynamic_cast<const EtbitmapexBadDIBType*>(&e)) return "EtbitmapexBadDIBType";
  if (dynamic_cast<const EtbitmapexPixelPositionRange*>(&e)) return "EtbitmapexPixelPositionRange";
  if (dynamic_cast<const EtbitmapexInvalidPalette*>(&e)) return "EtbitmapexInvalidPalette";
  if (dynamic_cast<const EtbitmapexCompressionFailed*>(&e)) return "EtbitmapexCompressionFailed";
  if (dynamic_cast<const EOutOfResources*>(&e)) return "EOutOfResources";
  if (dynamic_cast<const EOutOfMemory*>(&e)) return "EOutOfMemory";
  return nullptr;
}

// A failure that is not the engine's: exit code 2 with a message.
struct EUsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A picture larger than the pixel limit: exit code 1 with a message.
struct ETooLarge : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// 128 Mi pixels: decode writes at most 384 MiB of PPM and 128 MiB of PGM and
// holds one of them beside the expanded picture (at most 1 byte a pixel for
// palette pictures; the engine caps any pixel block at 256 MiB), so memory
// and output stay below about 1 GiB.
constexpr uint64_t kDefaultMaxPixels = uint64_t{1} << 27;

// Takes "--max-pixels N" out of args; N is a positive decimal number.
uint64_t TakeMaxPixels(std::vector<std::string>& args) {
  uint64_t limit = kDefaultMaxPixels;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--max-pixels") continue;
    const std::string v = i + 1 < args.size() ? args[i + 1] : "";
    if (v.empty() || v.size() > 18 || v.find_first_not_of("0123456789") != std::string::npos ||
        std::stoull(v) == 0) {
      throw EUsageError("--max-pixels takes a number of pixels above 0");
    }
    limit = std::stoull(v);
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    --i;
  }
  return limit;
}

// Checked after loading, which keeps run-length data compressed, and before
// any expansion or conversion.
void CheckPixelLimit(const tinternaldib& dib, uint64_t limit) {
  const uint64_t pixels = uint64_t(uint32_t(dib.Width)) * uint32_t(dib.Height);
  if (pixels <= limit) return;
  throw ETooLarge("the picture has " + std::to_string(pixels) + " pixels (" + std::to_string(dib.Width) + " x " +
                 std::to_string(dib.Height) + "), more than the limit of " + std::to_string(limit) +
                 "; --max-pixels N raises the limit");
}

std::string ReadFileOrFail(const std::string& path) {
  std::string bytes;
  if (!platform::ReadFileBytes(path, bytes)) throw EUsageError("cannot read " + path);
  return bytes;
}

void Load(const std::string& path, tinternaldib& dib, uint32_t* headerSize) {
  const std::string bytes = ReadFileOrFail(path);
  if (headerSize) {
    *headerSize = 0;
    if (bytes.size() >= 18) std::memcpy(headerSize, bytes.data() + 14, 4);
  }
  tmemorysource in(bytes);
  dib.LoadFromStream(in);
}

void WriteOut(const std::string& path, const std::string& bytes) {
  try {
    platform::WriteFileAtomically(path, bytes);
  } catch (const EFileError& e) {
    throw EUsageError(std::string("cannot write ") + path + " (" + e.what() + ")");
  }
}

texitcode Info(const std::vector<std::string>& a, std::FILE* out) {
  if (a.size() != 1) throw EUsageError("info takes one FILE");
  tinternaldib dib;
  uint32_t headerSize = 0;
  Load(a[0], dib, &headerSize);
  const tdibinfoheader& h = dib.Info.Header;
  std::fprintf(out,
               "header size: %u\nwidth: %d\nheight: %d\nbit count: %u\ncompression: %u\n"
               "colors used: %u\nbits size: %u\npixel format: %d\n",
               static_cast<unsigned>(headerSize), static_cast<int>(h.biWidth), static_cast<int>(h.biHeight),
               static_cast<unsigned>(h.biBitCount), static_cast<unsigned>(h.biCompression),
               static_cast<unsigned>(h.biClrUsed), static_cast<unsigned>(dib.Info.BitsSize), dib.GetPixelsFormat());
  return texitcode::Ok;
}

texitcode Decode(const std::vector<std::string>& a, uint64_t maxPixels) {
  if (a.size() != 2 && a.size() != 3) throw EUsageError("decode takes FILE OUT.ppm [OUT.pgm]");
  tinternaldib dib;
  Load(a[0], dib, nullptr);
  CheckPixelLimit(dib, maxPixels);
  if (a.size() == 3 && !HasIndices(dib)) throw EUsageError("a 24-bit picture has no palette indices for " + a[2]);
  // One output in memory at a time.
  WriteOut(a[1], EncodePpm(dib));
  if (a.size() == 3) WriteOut(a[2], EncodePgm(dib));
  return texitcode::Ok;
}

uint32_t ParseMask(const std::string& text) {
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    throw EUsageError("--mask takes six hex digits RRGGBB, not '" + text + "'");
  }
  const unsigned long rgb = std::stoul(text, nullptr, 16);
  // RRGGBB to the engine's 0x00BBGGRR.
  return static_cast<uint32_t>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

texitcode Convert(const std::vector<std::string>& a, uint64_t maxPixels, std::FILE* err) {
  std::vector<std::string> files;
  int format = -1;
  bool fine = false;
  uint32_t mask = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i] == "--format" && i + 1 < a.size()) {
      const std::string& v = a[++i];
      if (v.size() != 1 || v[0] < '0' || v[0] > '5') throw EUsageError("--format takes a code from 0 to 5");
      format = v[0] - '0';
    } else if (a[i] == "--fine") {
      fine = true;
    } else if (a[i] == "--mask" && i + 1 < a.size()) {
      mask = ParseMask(a[++i]);
    } else if (!a[i].empty() && a[i][0] == '-') {
      throw EUsageError("unknown or incomplete option " + a[i]);
    } else {
      files.push_back(a[i]);
    }
  }
  if (files.size() != 2) throw EUsageError("convert takes FILE OUT.bmp");
  if (format < 0) throw EUsageError("convert needs --format CODE");

  tinternaldib dib;
  Load(files[0], dib, nullptr);
  CheckPixelLimit(dib, maxPixels);
  // A reduction reports once per palette entry it makes.
  const int steps = format <= pf4BitRLE ? 16 : 256;
  tprogressbar bar(steps, IsTerminal(err) ? err : nullptr);
  dib.SetPixelsFormat(format, fine ? 1 : 0, [&bar] { bar.Step(); }, mask);
  tstringsink bmp;
  dib.SaveToStream(bmp);
  WriteOut(files[1], bmp.Bytes);
  return texitcode::Ok;
}

bool WantsHelp(const std::vector<std::string>& a) {
  for (const auto& s : a) {
    if (s == "--help" || s == "-h") return true;
  }
  return false;
}

}  // namespace

texitcode Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  if (args.empty()) {
    std::fputs(kUsage, err);
    return texitcode::Failed;
  }
  const std::string& command = args[0];
  std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, out);
    return texitcode::Ok;
  }
  try {
    const uint64_t maxPixels = TakeMaxPixels(rest);
    if (command == "info") {
      if (WantsHelp(rest)) return std::fputs(kInfoHelp, out), texitcode::Ok;
      return Info(rest, out);
    }
    if (command == "decode") {
      if (WantsHelp(rest)) return std::fputs(kDecodeHelp, out), texitcode::Ok;
      return Decode(rest, maxPixels);
    }
    if (command == "convert") {
      if (WantsHelp(rest)) return std::fputs(kConvertHelp, out), texitcode::Ok;
      return Convert(rest, maxPixels, err);
    }
    std::fprintf(err, "dibtool: unknown command '%s'\n\n%s", command.c_str(), kUsage);
    return texitcode::Failed;
  } catch (const EUsageError& e) {
    std::fprintf(err, "dibtool: %s\n", e.what());
    return texitcode::Failed;
  } catch (const ETooLarge& e) {
    std::fprintf(err, "dibtool: %s\n", e.what());
    return texitcode::Refused;
  } catch (const std::bad_alloc&) {
    // Memory ran out outside the engine (the output being made): the same
    // answer as the engine gives.
    std::fprintf(err, "dibtool: EOutOfResources: %s\n", kBitmapErrorText);
    return texitcode::Refused;
  } catch (const std::exception& e) {
    if (const char* name = ErrorClass(e)) {
      std::fprintf(err, "dibtool: %s: %s\n", name, e.what());
      return texitcode::Refused;
    }
    std::fprintf(err, "dibtool: %s\n", e.what());
    return texitcode::Failed;
  }
}

}  // namespace pendo::dibtool
