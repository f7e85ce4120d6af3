// Picture files made in memory for the tests, the fuzzing and the memory benchmark: small good
// ones of each format the system reads, and hostile ones that claim enormous sizes.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace samples {

inline void Le(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += char((v >> (8 * i)) & 255);
}
inline void Be(std::string& out, uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out += char((v >> (8 * i)) & 255);
}

// 16 by 8, left half red, right half blue.
inline const std::string& Jpeg() {
  static const std::string j(
      "\xff\xd8\xff\xe0\x00\x10\x4a\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xdb\x00\x43"
      "\x00\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
      "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
      "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\xff\xdb\x00\x43\x01\x01\x01"
      "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
      "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01"
      "\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\x01\xff\xc0\x00\x11\x08\x00\x08\x00\x10\x03"
      "\x01\x11\x00\x02\x11\x01\x03\x11\x01\xff\xc4\x00\x14\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x00\x00\x00\x00\x09\xff\xc4\x00\x14\x10\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x00\x00\x00\xff\xc4\x00\x16\x01\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x0b\x09\x0a\xff\xc4\x00\x14\x11\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x00\xff\xda\x00\x0c\x03\x01\x00\x02\x11\x03\x11\x00\x3f\x00\x17\xd2\x9d\xbf\x81\x0e\x55"
      "\x01\xaf\xbf\xff\xd9",
      293);
  return j;
}

// The same picture written progressively (several scans, every coefficient kept until the end).
inline const std::string& ProgressiveJpeg() {
  static const std::string j(
      "\xff\xd8\xff\xe0\x00\x10\x4a\x46\x49\x46\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00\xff\xdb\x00\x43"
      "\x00\x06\x04\x05\x06\x05\x04\x06\x06\x05\x06\x07\x07\x06\x08\x0a\x10\x0a\x0a\x09\x09\x0a\x14\x0e"
      "\x0f\x0c\x10\x17\x14\x18\x18\x17\x14\x16\x16\x1a\x1d\x25\x1f\x1a\x1b\x23\x1c\x16\x16\x20\x2c\x20"
      "\x23\x26\x27\x29\x2a\x29\x19\x1f\x2d\x30\x2d\x28\x30\x25\x28\x29\x28\xff\xdb\x00\x43\x01\x07\x07"
      "\x07\x0a\x08\x0a\x13\x0a\x0a\x13\x28\x1a\x16\x1a\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28"
      "\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28"
      "\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\x28\xff\xc2\x00\x11\x08\x00\x08\x00\x10\x03"
      "\x01\x11\x00\x02\x11\x01\x03\x11\x01\xff\xc4\x00\x15\x00\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x00\x00\x00\x00\x05\x06\xff\xc4\x00\x15\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x00\x00\x00\x07\x05\xff\xda\x00\x0c\x03\x01\x00\x02\x10\x03\x10\x00\x00\x01\x9c\x8c\x90"
      "\x03\x09\x5f\xff\xc4\x00\x14\x10\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
      "\x10\xff\xda\x00\x08\x01\x01\x00\x01\x05\x02\x3f\xff\xc4\x00\x14\x11\x01\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x10\xff\xda\x00\x08\x01\x03\x01\x01\x3f\x01\x3f\xff\xc4\x00"
      "\x14\x11\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x10\xff\xda\x00\x08\x01"
      "\x02\x01\x01\x3f\x01\x3f\xff\xc4\x00\x14\x10\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x00\x10\xff\xda\x00\x08\x01\x01\x00\x06\x3f\x02\x3f\xff\xc4\x00\x14\x10\x01\x00\x00\x00"
      "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x10\xff\xda\x00\x08\x01\x01\x00\x01\x3f\x21\x3f"
      "\xff\xda\x00\x0c\x03\x01\x00\x02\x00\x03\x00\x00\x00\x10\xeb\xff\xc4\x00\x14\x11\x01\x00\x00\x00"
      "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x10\xff\xda\x00\x08\x01\x03\x01\x01\x3f\x10\x3f"
      "\xff\xc4\x00\x14\x11\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x10\xff\xda"
      "\x00\x08\x01\x02\x01\x01\x3f\x10\x3f\xff\xc4\x00\x14\x10\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x00\x00\x00\x00\x10\xff\xda\x00\x08\x01\x01\x00\x01\x3f\x10\x3f\xff\xd9",
      524);
  return j;
}

// An icon file with one image of w x h pixels, 32 bits per pixel: pixel(x, y) gives 0xAARRGGBB.
template <class F>
inline std::string Icon32(int w, int h, F pixel) {
  std::string s;
  Le(s, 0, 2), Le(s, 1, 2), Le(s, 1, 2);  // reserved, type icon, one image
  const uint32_t andRow = uint32_t((w + 31) / 32 * 4);
  const uint32_t size = 40 + uint32_t(w * h * 4) + andRow * uint32_t(h);
  s += char(w), s += char(h), s += char(0), s += char(0);
  Le(s, 1, 2), Le(s, 32, 2), Le(s, size, 4), Le(s, 22, 4);
  Le(s, 40, 4), Le(s, uint32_t(w), 4), Le(s, uint32_t(2 * h), 4), Le(s, 1, 2), Le(s, 32, 2);
  for (int i = 0; i < 6; ++i) Le(s, 0, 4);
  for (int y = h - 1; y >= 0; --y)  // bottom-up
    for (int x = 0; x < w; ++x) Le(s, pixel(x, y), 4);
  s.append(andRow * uint32_t(h), '\0');
  return s;
}

// A 4-bit icon (two palette colours used) whose mask makes the pixels with masked(x, y) clear.
template <class I, class M>
inline std::string Icon4(int w, int h, I index, M masked) {
  std::string s;
  Le(s, 0, 2), Le(s, 1, 2), Le(s, 1, 2);
  const uint32_t xorRow = uint32_t((w * 4 + 31) / 32 * 4), andRow = uint32_t((w + 31) / 32 * 4);
  const uint32_t size = 40 + 64 + (xorRow + andRow) * uint32_t(h);
  s += char(w), s += char(h), s += char(16), s += char(0);
  Le(s, 1, 2), Le(s, 4, 2), Le(s, size, 4), Le(s, 22, 4);
  Le(s, 40, 4), Le(s, uint32_t(w), 4), Le(s, uint32_t(2 * h), 4), Le(s, 1, 2), Le(s, 4, 2);
  for (int i = 0; i < 6; ++i) Le(s, 0, 4);
  for (int i = 0; i < 16; ++i) Le(s, i == 1 ? 0x0000FF : i == 2 ? 0xFFFF00 : 0, 4);  // blue, cyan
  for (int y = h - 1; y >= 0; --y) {
    std::string row(xorRow, '\0');
    for (int x = 0; x < w; ++x) row[size_t(x / 2)] |= char(index(x, y) << (x % 2 ? 0 : 4));
    s += row;
  }
  for (int y = h - 1; y >= 0; --y) {
    std::string row(andRow, '\0');
    for (int x = 0; x < w; ++x)
      if (masked(x, y)) row[size_t(x / 8)] |= char(0x80 >> (x % 8));
    s += row;
  }
  return s;
}

// The sample JPEG with a legal fill byte (0xFF) before its frame marker and the frame's size
// changed to w by h.
inline std::string JpegWithFillByte(uint16_t w, uint16_t h) {
  std::string j = Jpeg();
  const size_t sof = j.find("\xff\xc0");
  j[sof + 5] = char(h >> 8), j[sof + 6] = char(h);
  j[sof + 7] = char(w >> 8), j[sof + 8] = char(w);
  j.insert(sof, 1, '\xff');
  return j;
}

inline uint32_t Crc32(const std::string& s, size_t from = 0) {
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = from; i < s.size(); ++i) {
    c ^= uint8_t(s[i]);
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
  }
  return ~c;
}

// A zlib stream of n zero bytes: one literal, then copies of 258 bytes from one byte back, each
// 13 bits in the fixed code, so that a picture of hundreds of megabytes takes about a megabyte.
inline std::string ZlibZeros(uint64_t n) {
  std::string out = "\x78\x01";
  uint32_t acc = 0;
  int bits = 0;
  auto put = [&](uint32_t v, int count) {  // Huffman codes go out from their top bit
    for (int i = count - 1; i >= 0; --i) {
      acc |= ((v >> i) & 1u) << bits;
      if (++bits == 8) out += char(acc), acc = 0, bits = 0;
    }
  };
  put(1, 1);  // last block
  put(2, 2);  // fixed codes (01, written low bit first)
  uint64_t done = 0;
  if (n > 0) put(0x30, 8), done = 1;  // literal 0
  for (; n - done >= 258; done += 258) put(0xC5, 8), put(0, 5);  // length 258, distance 1
  for (; done < n; ++done) put(0x30, 8);
  put(0, 7);  // end of block
  if (bits) out += char(acc);
  Be(out, uint32_t((n % 65521) << 16 | 1), 4);  // Adler-32 of zeros
  return out;
}

// A black 8-bit grey PNG of w by h pixels, complete and valid.
inline std::string Png(uint32_t w, uint32_t h) {
  std::string s = "\x89PNG\r\n\x1a\n";
  auto chunk = [&](const char* type, const std::string& data) {
    Be(s, uint32_t(data.size()), 4);
    const size_t at = s.size();
    s += type;
    s += data;
    Be(s, Crc32(s, at), 4);
  };
  std::string ihdr;
  Be(ihdr, w, 4), Be(ihdr, h, 4);
  ihdr += std::string("\x08\x00\x00\x00\x00", 5);  // 8 bits, grey, deflate, no filter, no interlace
  chunk("IHDR", ihdr);
  chunk("IDAT", ZlibZeros(uint64_t(h) * (w + 1)));
  chunk("IEND", "");
  return s;
}

// An icon file holding one PNG image.
inline std::string IconWithPng(const std::string& png, int w, int h) {
  std::string s;
  Le(s, 0, 2), Le(s, 1, 2), Le(s, 1, 2);
  s += char(w >= 256 ? 0 : w), s += char(h >= 256 ? 0 : h), s += char(0), s += char(0);
  Le(s, 1, 2), Le(s, 32, 2), Le(s, uint32_t(png.size()), 4), Le(s, 22, 4);
  return s + png;
}

// Files of formats the system does not read, each claiming a size that would take gigabytes.
inline std::string XcfHuge() {
  std::string s("gimp xcf file\0", 14);
  Be(s, 60000, 4), Be(s, 60000, 4), Be(s, 0, 4);  // width, height, RGB
  Be(s, 0, 4), Be(s, 0, 4);                        // no properties
  Be(s, 0, 4), Be(s, 0, 4);                        // no layers, no channels
  s.resize(98, '\0');
  return s;
}
inline std::string Gif(uint16_t w, uint16_t h) {
  std::string s = "GIF89a";
  Le(s, w, 2), Le(s, h, 2);
  s += std::string("\x80\x00\x00\x00\x00\x00\xff\xff\xff", 9);  // two colours: black, white
  s += ',';
  Le(s, 0, 2), Le(s, 0, 2), Le(s, w, 2), Le(s, h, 2);
  s += std::string("\x00\x02\x02\x4c\x01\x00;", 7);
  return s;
}
inline std::string GifHuge() { return Gif(65535, 65535); }
inline std::string SvgHuge() {
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40000\" height=\"40000\">"
         "<rect width=\"40000\" height=\"40000\"/></svg>";
}

// An 8-bit run-length BMP of w by h pixels whose data is nothing but its end mark: a few dozen
// bytes that decode to the whole size.
inline std::string BmpRleBomb(uint32_t w, uint32_t h) {
  std::string s = "BM";
  Le(s, 14 + 40 + 8 + 2, 4), Le(s, 0, 4), Le(s, 14 + 40 + 8, 4);
  Le(s, 40, 4), Le(s, w, 4), Le(s, h, 4), Le(s, 1, 2), Le(s, 8, 2), Le(s, 1, 4);
  Le(s, 2, 4), Le(s, 0, 4), Le(s, 0, 4), Le(s, 2, 4), Le(s, 0, 4);
  Le(s, 0x000000, 4), Le(s, 0xFFFFFF, 4);
  return s + std::string("\x00\x01", 2);
}

// The hostile pictures by the names they would have in a game's folders.
inline std::vector<std::pair<std::string, std::string>> HostilePictures() {
  return {{"xcf_named.bmp", XcfHuge()},
          {"gif_named.bmp", GifHuge()},
          {"svg_named.jpg", SvgHuge()},
          {"fill_byte_26000.jpg", JpegWithFillByte(26000, 26000)},
          {"png_16000_cursor.ico", IconWithPng(Png(16000, 16000), 0, 0)}};
}

}  // namespace samples
