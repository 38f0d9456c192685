#include "settings/wavefile.h"

#include <initializer_list>

namespace pendo {

namespace {
constexpr std::uint16_t kPcm = 1;
constexpr std::uint16_t kFloat = 3;
constexpr std::uint16_t kExtensible = 0xFFFE;
constexpr std::size_t kFormatFields = 16;   // up to the bits per sample
constexpr std::size_t kFormatHeader = 18;   // with cbSize
constexpr std::size_t kExtensibleExtra = 22;
constexpr std::uint16_t kMaxChannels = 8;

std::uint16_t U16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
std::uint32_t U32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(U16(b, at)) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}
void PutU16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8 & 0xFF);
}
void PutU32(std::string& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

twavesound Fault(twavefault fault) {
  twavesound s;
  s.fault = fault;
  return s;
}

// Samples of whole bytes in blocks of one sample per channel, at the rate
// the header says.
bool PlainSamples(const twavesound& s, std::initializer_list<std::uint16_t> bits) {
  bool known = false;
  for (std::uint16_t b : bits) known = known || s.bitspersample == b;
  return known && s.blockalign == s.channels * (s.bitspersample / 8) &&
         s.bytespersecond == static_cast<std::uint64_t>(s.samplespersecond) * s.blockalign;
}
}  // namespace

twavesound CheckWaveFile(std::string_view bytes) {
  if (bytes.size() > kMaxWaveFileBytes) return Fault(twavefault::TooLarge);
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
    return Fault(twavefault::NotWave);
  const std::uint32_t riffSize = U32(bytes, 4);
  if (riffSize < 4) return Fault(twavefault::NotWave);
  if (riffSize > bytes.size() - 8) return Fault(twavefault::ChunkOutsideFile);
  // Bytes after the RIFF chunk belong to no chunk and are left out.
  const std::size_t end = 8 + static_cast<std::size_t>(riffSize);

  std::string_view format, data;
  bool haveFormat = false, haveData = false;
  for (std::size_t at = 12; at < end;) {
    if (end - at < 8) return Fault(twavefault::ChunkOutsideFile);
    const std::string_view id = bytes.substr(at, 4);
    const std::uint32_t size = U32(bytes, at + 4);
    if (size > end - at - 8) return Fault(twavefault::ChunkOutsideFile);
    const std::string_view body = bytes.substr(at + 8, size);
    // The first of each counts, as the system's reader takes it.
    if (id == "fmt " && !haveFormat) {
      format = body;
      haveFormat = true;
    } else if (id == "data" && !haveData) {
      data = body;
      haveData = true;
    }
    // A chunk of odd size is followed by a pad byte, which the last one may lack.
    at += 8 + static_cast<std::size_t>(size);
    if (size % 2 && at < end) ++at;
  }
  if (!haveFormat || format.size() < kFormatFields) return Fault(twavefault::NoFormat);
  if (!haveData) return Fault(twavefault::NoData);

  twavesound s;
  s.formattag = U16(format, 0);
  s.channels = U16(format, 2);
  s.samplespersecond = U32(format, 4);
  s.bytespersecond = U32(format, 8);
  s.blockalign = U16(format, 12);
  s.bitspersample = U16(format, 14);
  if (s.channels == 0 || s.channels > kMaxChannels || s.samplespersecond == 0 || s.bytespersecond == 0 ||
      s.blockalign == 0)
    return Fault(twavefault::BadFormat);
  // Extra format bytes, which every format but plain PCM may have.
  std::size_t extra = 0;
  if (s.formattag != kPcm && format.size() >= kFormatHeader) {
    extra = U16(format, 16);
    if (kFormatHeader + extra > format.size()) return Fault(twavefault::BadFormat);
  }
  bool fits = true;
  if (s.formattag == kPcm) fits = PlainSamples(s, {8, 16, 24, 32});
  else if (s.formattag == kFloat) fits = PlainSamples(s, {32, 64});
  else if (s.formattag == kExtensible) fits = extra >= kExtensibleExtra && PlainSamples(s, {8, 16, 24, 32, 64});
  // Other formats (compressed ones) are the system's to judge.
  if (!fits) return Fault(twavefault::BadFormat);

  s.fault = twavefault::None;
  s.format.assign(format.substr(0, kFormatFields));
  PutU16(s.format, static_cast<std::uint32_t>(extra));
  if (extra) s.format.append(format.substr(kFormatHeader, extra));
  // A block cut short cannot be played.
  s.databytes = static_cast<std::uint32_t>(data.size() - data.size() % s.blockalign);
  // Each chunk of odd size is followed by its pad byte.
  const std::size_t formatPad = s.format.size() % 2, dataPad = s.databytes % 2;
  s.image.reserve(20 + s.format.size() + formatPad + 8 + s.databytes + dataPad);
  s.image = "RIFF";
  PutU32(s.image, static_cast<std::uint32_t>(4 + 8 + s.format.size() + formatPad + 8 + s.databytes + dataPad));
  s.image += "WAVEfmt ";
  PutU32(s.image, static_cast<std::uint32_t>(s.format.size()));
  s.image += s.format;
  if (formatPad) s.image += '\0';
  s.image += "data";
  PutU32(s.image, s.databytes);
  s.image.append(data.substr(0, s.databytes));
  if (dataPad) s.image += '\0';
  return s;
}

}  // namespace pendo
