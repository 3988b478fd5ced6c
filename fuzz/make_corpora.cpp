// Writes the seed corpora of the fuzz targets: the game's own media and hand-made files, valid and
// broken, for every parser of outside data. Everything here is made by this program; no file comes
// from elsewhere.
//
// usage: make_corpora MEDIA_DIR OUT_DIR
// OUT_DIR gets one directory per target (bmp, highscore, demo, wav, midi), emptied first.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "base/media_manifest.h"
#include "bmp_sizes.h"
#include "picture_table.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::string;

void Put16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<char>(v & 0xFF));
  b.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

void Put32Be(Bytes& b, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void Put16Be(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<char>((v >> 8) & 0xFF));
  b.push_back(static_cast<char>(v & 0xFF));
}

void Set32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

Bytes Repeat(char c, std::size_t n) { return Bytes(n, c); }

class CorpusWriter {
 public:
  explicit CorpusWriter(fs::path directory) : directory_(std::move(directory)) {
    std::error_code error;
    fs::remove_all(directory_, error);
    fs::create_directories(directory_);
  }
  void Write(const std::string& name, const Bytes& bytes) {
    std::ofstream out(directory_ / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::fprintf(stderr, "make_corpora: cannot write %s\n", (directory_ / name).c_str());
      failed = true;
    }
    ++count;
  }
  int count = 0;
  bool failed = false;

 private:
  fs::path directory_;
};

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// ---------------------------------------------------------------------------------------------
// Bitmaps

struct Bmp {
  std::uint32_t infoSize = 40;
  std::int32_t width = 7;
  std::int32_t height = 5;
  std::uint32_t planes = 1;
  std::uint32_t bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
  std::vector<std::uint32_t> palette;  // 0x00RRGGBB
  std::vector<std::uint32_t> masks;    // red, green, blue[, alpha] for bit fields
  Bytes pixels;                        // as stored in the file
};

// Rows of a test pattern in the stored form of the depth, each padded to four bytes.
Bytes PatternRows(int width, int rows, int bits) {
  Bytes out;
  for (int y = 0; y < rows; ++y) {
    Bytes row;
    if (bits < 8) {
      const int perByte = 8 / bits;
      for (int x = 0; x < width; x += perByte) {
        unsigned v = 0;
        for (int i = 0; i < perByte; ++i) v = (v << bits) | ((x + i + y) & ((1u << bits) - 1));
        row.push_back(static_cast<char>(v));
      }
    } else {
      for (int x = 0; x < width; ++x) {
        const std::uint32_t v = static_cast<std::uint32_t>(x * 37 + y * 101) * 2654435761u;
        for (int i = 0; i < bits / 8; ++i) row.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
      }
    }
    while (row.size() % 4 != 0) row.push_back(0);
    out += row;
  }
  return out;
}

std::vector<std::uint32_t> Palette(int entries) {
  std::vector<std::uint32_t> p;
  for (int i = 0; i < entries; ++i) p.push_back(static_cast<std::uint32_t>(i) * 0x010305u & 0xFFFFFF);
  if (entries > 1) p[1] = 0x0000FF;  // the colour key appears too
  return p;
}

Bytes Encode(const Bmp& bmp) {
  Bytes info;
  if (bmp.infoSize == 12) {
    Put32(info, 12);
    Put16(info, static_cast<std::uint32_t>(bmp.width));
    Put16(info, static_cast<std::uint32_t>(bmp.height));
    Put16(info, bmp.planes);
    Put16(info, bmp.bits);
  } else {
    Put32(info, bmp.infoSize);
    Put32(info, static_cast<std::uint32_t>(bmp.width));
    Put32(info, static_cast<std::uint32_t>(bmp.height));
    Put16(info, bmp.planes);
    Put16(info, bmp.bits);
    Put32(info, bmp.compression);
    Put32(info, static_cast<std::uint32_t>(bmp.pixels.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, bmp.coloursUsed);
    Put32(info, 0);
    if (bmp.infoSize > 40) {
      // V2..V5: the masks live in the header, then colour space, end points, gamma, ...
      for (std::size_t i = 0; i < 4; ++i) Put32(info, i < bmp.masks.size() ? bmp.masks[i] : 0);
      Put32(info, 0x73524742);  // 'sRGB'
      while (info.size() < bmp.infoSize) info.push_back(0);
      info.resize(bmp.infoSize);
    }
  }
  Bytes extra;
  if (bmp.infoSize == 40 && bmp.compression == 3) {
    for (std::size_t i = 0; i < 3; ++i) Put32(extra, i < bmp.masks.size() ? bmp.masks[i] : 0);
  }
  for (const std::uint32_t colour : bmp.palette) {
    extra.push_back(static_cast<char>(colour & 0xFF));
    extra.push_back(static_cast<char>((colour >> 8) & 0xFF));
    extra.push_back(static_cast<char>((colour >> 16) & 0xFF));
    if (bmp.infoSize != 12) extra.push_back(0);
  }
  const std::uint32_t offset = static_cast<std::uint32_t>(14 + info.size() + extra.size());
  Bytes file = "BM";
  Put32(file, offset + static_cast<std::uint32_t>(bmp.pixels.size()));
  Put32(file, 0);
  Put32(file, offset);
  return file + info + extra + bmp.pixels;
}

Bmp Plain(int width, int height, int bits) {
  Bmp bmp;
  bmp.width = width;
  bmp.height = height;
  bmp.bits = static_cast<std::uint32_t>(bits);
  if (bits <= 8) bmp.palette = Palette(1 << bits);
  bmp.pixels = PatternRows(width, height < 0 ? -height : height, bits);
  return bmp;
}

Bytes WithSelector(int selector, const Bytes& file) {
  return Bytes(1, static_cast<char>(selector)) + file;
}

void WriteBmpCorpus(const fs::path& media, CorpusWriter& out) {
  using tavi::fuzz::BmpSizeSelector;
  const int small = BmpSizeSelector(7, 5);
  const int wide = BmpSizeSelector(1000, 3);
  const int tall = BmpSizeSelector(3, 1000);
  const int tiny = BmpSizeSelector(1, 1);

  // The game's own pictures at the size the game asks for.
  for (const tavi::media::Picture* picture : tavi::media::Pictures) {
    const fs::path file = media / mediagen::MediaFileName(picture->file);
    const int selector = BmpSizeSelector(picture->width, picture->height);
    out.Write("media-" + file.stem().string() + ".bmp", WithSelector(selector, ReadFile(file)));
  }

  // Every depth the decoder knows, small enough to run fast, scaled to several sizes.
  for (const int bits : {1, 4, 8, 16, 24, 32}) {
    const Bytes file = Encode(Plain(7, 5, bits));
    const std::string name = "depth" + std::to_string(bits);
    out.Write(name + ".bmp", WithSelector(small, file));
    out.Write(name + "-to-1000x3.bmp", WithSelector(wide, file));
    out.Write(name + "-to-3x1000.bmp", WithSelector(tall, file));
  }
  out.Write("one-pixel.bmp", WithSelector(tiny, Encode(Plain(1, 1, 24))));
  out.Write("one-row.bmp", WithSelector(small, Encode(Plain(300, 1, 24))));
  out.Write("one-column.bmp", WithSelector(small, Encode(Plain(1, 300, 8))));
  out.Write("top-down.bmp", WithSelector(small, Encode(Plain(7, -5, 24))));
  {
    Bmp core = Plain(7, 5, 8);
    core.infoSize = 12;
    out.Write("core-header-8bit.bmp", WithSelector(small, Encode(core)));
    core = Plain(7, 5, 24);
    core.infoSize = 12;
    out.Write("core-header-24bit.bmp", WithSelector(small, Encode(core)));
    core.bits = 32;
    out.Write("core-header-32bit.bmp", WithSelector(small, Encode(core)));
  }
  {
    Bmp fields = Plain(7, 5, 16);
    fields.compression = 3;
    fields.masks = {0xF800, 0x07E0, 0x001F};
    out.Write("bitfields-565.bmp", WithSelector(small, Encode(fields)));
    fields.masks = {0, 0, 0};
    out.Write("bitfields-zero-masks.bmp", WithSelector(small, Encode(fields)));
    fields.masks = {0xFFFF, 0xFFFF, 0xFFFF};
    out.Write("bitfields-overlapping-masks.bmp", WithSelector(small, Encode(fields)));
    fields = Plain(7, 5, 32);
    fields.compression = 3;
    fields.masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    fields.infoSize = 108;
    out.Write("v4-bitfields-alpha.bmp", WithSelector(small, Encode(fields)));
    fields.infoSize = 124;
    out.Write("v5-bitfields-alpha.bmp", WithSelector(small, Encode(fields)));
    fields.infoSize = 56;
    out.Write("v3-bitfields.bmp", WithSelector(small, Encode(fields)));
    fields = Plain(7, 5, 24);
    fields.compression = 3;
    fields.masks = {0xFF0000, 0xFF00, 0xFF};
    out.Write("bitfields-24bit.bmp", WithSelector(small, Encode(fields)));
  }

  // Run-length encoded pictures: runs, absolute mode, end of line, delta, end of bitmap.
  {
    Bmp rle = Plain(7, 5, 8);
    rle.compression = 1;
    rle.pixels = Bytes("\x07\x01\x00\x00" "\x00\x05\x02\x03\x04\x05\x06\x00" "\x02\x09\x00\x00"
                       "\x00\x02\x01\x01" "\x03\x07\x00\x01", 24);
    out.Write("rle8.bmp", WithSelector(small, Encode(rle)));
    rle.pixels = Bytes("\xFF\x01\xFF\x02\x00\x01", 6);
    out.Write("rle8-run-past-the-row.bmp", WithSelector(small, Encode(rle)));
    rle.pixels = Bytes("\x00\x02\x7F\x7F\x01\x01\x00\x01", 8);
    out.Write("rle8-delta-past-the-end.bmp", WithSelector(small, Encode(rle)));
    rle.pixels = Bytes("\x00\xFF\x01\x02\x03", 5);
    out.Write("rle8-absolute-past-the-data.bmp", WithSelector(small, Encode(rle)));
    rle.pixels = Bytes("\x02\x01\x02\x01", 4);
    out.Write("rle8-no-end.bmp", WithSelector(small, Encode(rle)));
    rle.pixels = Bytes("\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01", 14);
    out.Write("rle8-lines-past-the-height.bmp", WithSelector(small, Encode(rle)));
    rle.height = -5;
    out.Write("rle8-top-down.bmp", WithSelector(small, Encode(rle)));
    rle = Plain(4096, 4096, 8);
    rle.compression = 1;
    rle.pixels = Bytes("\x00\x01", 2);
    out.Write("rle8-huge-and-empty.bmp", WithSelector(small, Encode(rle)));

    Bmp rle4 = Plain(7, 5, 4);
    rle4.compression = 2;
    rle4.pixels = Bytes("\x07\x12\x00\x00" "\x00\x05\x34\x56\x70\x00" "\x04\x9A\x00\x00\x00\x01", 16);
    out.Write("rle4.bmp", WithSelector(small, Encode(rle4)));
    rle4.pixels = Bytes("\x00\x09\x12\x34", 4);
    out.Write("rle4-absolute-past-the-data.bmp", WithSelector(small, Encode(rle4)));
    Bmp mismatched = Plain(7, 5, 4);
    mismatched.compression = 1;
    out.Write("rle8-with-4-bits.bmp", WithSelector(small, Encode(mismatched)));
    mismatched = Plain(7, 5, 8);
    mismatched.compression = 2;
    out.Write("rle4-with-8-bits.bmp", WithSelector(small, Encode(mismatched)));
  }

  // Broken headers and lying sizes.
  const Bytes good = Encode(Plain(7, 5, 24));
  for (const std::size_t cut : {std::size_t{1}, std::size_t{2}, std::size_t{13}, std::size_t{20},
                                std::size_t{53}, std::size_t{54}, std::size_t{70}, good.size() - 1}) {
    out.Write("truncated-at-" + std::to_string(cut) + ".bmp", WithSelector(small, good.substr(0, cut)));
  }
  {
    Bytes lie = good;
    Set32(lie, 2, 0xFFFFFFFF);
    out.Write("file-size-field-too-big.bmp", WithSelector(small, lie));
    lie = good;
    Set32(lie, 10, static_cast<std::uint32_t>(good.size() + 100));
    out.Write("data-offset-past-the-end.bmp", WithSelector(small, lie));
    Set32(lie, 10, 0);
    out.Write("data-offset-zero.bmp", WithSelector(small, lie));
    Set32(lie, 10, 20);
    out.Write("data-offset-inside-header.bmp", WithSelector(small, lie));
    lie = good;
    Set32(lie, 34, 0xFFFFFFF0);
    out.Write("image-size-field-huge.bmp", WithSelector(small, lie));
    lie = good;
    lie[0] = 'M';
    lie[1] = 'B';
    out.Write("wrong-signature.bmp", WithSelector(small, lie));
    for (const std::uint32_t infoSize : {0u, 41u, 64u, 0xFFFFFFFFu}) {
      lie = good;
      Set32(lie, 14, infoSize);
      out.Write("info-size-" + std::to_string(infoSize) + ".bmp", WithSelector(small, lie));
    }
  }
  struct Dimensions {
    const char* name;
    std::int32_t width;
    std::int32_t height;
  };
  for (const Dimensions d : {Dimensions{"width-16385", 16385, 1}, Dimensions{"height-16385", 1, 16385},
                             Dimensions{"16384-square", 16384, 16384}, Dimensions{"width-max", 0x7FFFFFFF, 1},
                             Dimensions{"width-negative", -7, 5}, Dimensions{"height-min", 7, INT32_MIN},
                             Dimensions{"width-zero", 0, 5}, Dimensions{"height-zero", 7, 0},
                             Dimensions{"product-overflow", 65536, 65536}}) {
    Bmp huge = Plain(7, 5, 24);
    huge.width = d.width;
    huge.height = d.height;
    out.Write(std::string("dimensions-") + d.name + ".bmp", WithSelector(small, Encode(huge)));
  }
  for (const std::uint32_t bits : {0u, 2u, 3u, 7u, 48u, 64u, 0xFFFFu}) {
    Bmp odd = Plain(7, 5, 24);
    odd.bits = bits;
    out.Write("bits-" + std::to_string(bits) + ".bmp", WithSelector(small, Encode(odd)));
  }
  for (const std::uint32_t planes : {0u, 2u}) {
    Bmp odd = Plain(7, 5, 24);
    odd.planes = planes;
    out.Write("planes-" + std::to_string(planes) + ".bmp", WithSelector(small, Encode(odd)));
  }
  for (const std::uint32_t used : {2u, 257u, 0xFFFFFFFFu}) {
    Bmp odd = Plain(7, 5, 8);
    odd.coloursUsed = used;
    out.Write("colours-used-" + std::to_string(used) + ".bmp", WithSelector(small, Encode(odd)));
  }
  for (const std::uint32_t compression : {4u, 5u, 6u, 11u, 0xFFFFFFFFu}) {
    Bmp odd = Plain(7, 5, 24);
    odd.compression = compression;
    out.Write("compression-" + std::to_string(compression) + ".bmp", WithSelector(small, Encode(odd)));
  }
  out.Write("empty.bmp", WithSelector(small, ""));
  out.Write("only-signature.bmp", WithSelector(small, "BM"));
  out.Write("text.bmp", WithSelector(small, "Das ist kein Bild.\n"));
}

// ---------------------------------------------------------------------------------------------
// Highscore files. Input: name length byte, name, score (LE 32 bits), then the file.

Bytes Record(const Bytes& nameField, std::int32_t score) {
  Bytes r = nameField;
  r.resize(12, '\0');
  Put32(r, static_cast<std::uint32_t>(score));
  return r;
}

Bytes HighscoreInput(const Bytes& name, std::int32_t score, const Bytes& file) {
  Bytes in(1, static_cast<char>(name.size()));
  in += name;
  Put32(in, static_cast<std::uint32_t>(score));
  return in + file;
}

void WriteHighscoreCorpus(CorpusWriter& out) {
  Bytes cleared;
  for (int k = 0; k < 10; ++k) cleared += Record("-", 0);
  Bytes typical;
  const char* const names[] = {"anna", "ben", "clara", "dirk", "emil", "frieda", "gustav", "hanna", "ida", "jan"};
  for (int k = 0; k < 10; ++k) typical += Record(names[k], 90 - 10 * k);
  Bytes full;
  for (int k = 0; k < 10; ++k) full += Record("kilo.test.12", 20 - k);
  Bytes remains;  // "-" over longer names, as clearing leaves them
  for (int k = 0; k < 10; ++k) remains += Record(Bytes("-\0lo.test.12", 12), 0);
  Bytes unordered;
  for (int k = 0; k < 10; ++k) unordered += Record("x", (k * 7919) % 23 - 5);
  Bytes extremes;
  for (int k = 0; k < 10; ++k) extremes += Record("max", k % 2 ? INT32_MIN : INT32_MAX);
  Bytes highBytes;  // Windows-1252 letters and bytes the font has no glyph for
  for (int k = 0; k < 10; ++k) highBytes += Record(Bytes("\xE4\xF6\xFC\xDF\xFF\x80\x01\x7F\xC4\xD6\xDC\xA0", 12), 5);

  out.Write("cleared-new-result.bin", HighscoreInput("tavi", 3, cleared));
  out.Write("cleared-zero-score.bin", HighscoreInput("null", 0, cleared));
  out.Write("typical-middle.bin", HighscoreInput("neu", 55, typical));
  out.Write("typical-tie.bin", HighscoreInput("gleich", 60, typical));
  out.Write("typical-top.bin", HighscoreInput("beste", 1000, typical));
  out.Write("typical-last-place.bin", HighscoreInput("letzte", 1, typical));
  out.Write("typical-too-low.bin", HighscoreInput("zu.wenig", 0, typical));
  out.Write("full-names.bin", HighscoreInput("zwoelf.zeich", 30, full));
  out.Write("name-remains.bin", HighscoreInput("a", 1, remains));
  out.Write("unordered.bin", HighscoreInput("mitte", 3, unordered));
  out.Write("extreme-scores.bin", HighscoreInput("min", INT32_MIN, extremes));
  out.Write("extreme-scores-max.bin", HighscoreInput("max", INT32_MAX, extremes));
  out.Write("high-bytes.bin", HighscoreInput("\xE4\xF6", 9, highBytes));
  out.Write("empty-name.bin", HighscoreInput("", 7, cleared));
  out.Write("name-with-zero.bin", HighscoreInput(Bytes("ab\0cd", 5), 7, typical));
  out.Write("empty-file.bin", HighscoreInput("leer", 1, ""));
  for (const std::size_t size : {std::size_t{1}, std::size_t{15}, std::size_t{16}, std::size_t{159}}) {
    out.Write("short-" + std::to_string(size) + ".bin", HighscoreInput("kurz", 2, typical.substr(0, size)));
  }
  out.Write("long-161.bin", HighscoreInput("lang", 2, typical + "x"));
  out.Write("long-4096.bin", HighscoreInput("lang", 2, Repeat('x', 4096)));
  out.Write("garbage.bin", HighscoreInput("quatsch", -1, Repeat('\xA5', 160)));
  out.Write("truncated-input.bin", Bytes("\x05" "ab", 3));
}

// ---------------------------------------------------------------------------------------------
// Demos

void WriteDemoCorpus(CorpusWriter& out) {
  out.Write("tour.demo",
            "seed 12345\n"
            "0 move 500 300\n"
            "20 click 480 340\n"
            "120 click 480 700\n"
            "140 click 480 440\n"
            "240 click 480 700\n"
            "260 click 480 240\n"
            "261 keys RIGHT\n"
            "280 keys UP SPACE\n"
            "300 keys DOWN LEFT\n"
            "320 keys\n"
            "325 click 480 340\n"
            "330 esc\n"
            "340 keys BACK\n"
            "343 keys T\n"
            "346 keys\n"
            "349 keys RETURN\n"
            "352 keys\n"
            "600 quit\n");
  out.Write("comments-and-blanks.demo",
            "# a demo\n\n   \n\t# indented comment\nseed 1\n\n0 move 0 0\n  5   click   65535   65535  \n");
  out.Write("crlf.demo", "seed 7\r\n0 move 1 2\r\n1 dblclick 3 4\r\n2 esc\r\n3 quit\r\n");
  out.Write("all-key-names.demo",
            "0 keys A B C D E F G H I J K L M N O P Q R S T U V W X Y Z\n"
            "1 keys 0 1 2 3 4 5 6 7 8 9 SPACE PERIOD RETURN BACK UP DOWN LEFT RIGHT\n"
            "2 keys LSHIFT RSHIFT LCONTROL RCONTROL ESCAPE TAB MINUS COMMA\n"
            "3 keys 0x01 0xFF 0X2a\n"
            "4 keys\n");
  out.Write("same-frame-many-events.demo", "5 move 1 1\n5 click 2 2\n5 keys UP\n5 esc\n5 keys\n5 quit\n5 move 3 3\n");
  out.Write("big-numbers.demo", "seed 4294967295\n1125899906842624 move 65535 0\n");
  out.Write("hex-and-octal-frames.demo", "0x10 move 1 2\n020 esc\n");
  out.Write("empty.demo", "");
  out.Write("no-newline-at-end.demo", "3 quit");
  out.Write("decreasing-frames.demo", "10 esc\n9 esc\n");
  out.Write("seed-after-event.demo", "0 esc\nseed 5\n");
  out.Write("seed-twice.demo", "seed 1\nseed 2\n");
  out.Write("seed-negative.demo", "seed -1\n");
  out.Write("seed-too-big.demo", "seed 4294967296\n");
  out.Write("seed-no-number.demo", "seed\n");
  out.Write("move-missing-y.demo", "0 move 1\n");
  out.Write("move-extra.demo", "0 move 1 2 3\n");
  out.Write("move-negative.demo", "0 move -1 2\n");
  out.Write("move-too-big.demo", "0 click 65536 2\n");
  out.Write("unknown-key.demo", "0 keys FOO\n");
  out.Write("key-0x100.demo", "0 keys 0x100\n");
  out.Write("key-0x0.demo", "0 keys 0x0\n");
  out.Write("quit-extra.demo", "0 quit now\n");
  out.Write("frame-only.demo", "12\n");
  out.Write("word-only.demo", "abc\n");
  out.Write("frame-too-big.demo", "1125899906842625 esc\n");
  out.Write("frame-overflow.demo", "99999999999999999999999 esc\n");
  out.Write("form-feed-line.demo", "0 esc\n\f\n1 esc\n");
  out.Write("vertical-tab-line.demo", "\v\n");
  out.Write("carriage-return-only.demo", "\r\r\n");
  out.Write("nul-bytes.demo", Bytes("0 esc\n\0\n1 \0quit\n", 16));
  out.Write("long-line.demo", "0 keys" + Repeat(' ', 5000) + "UP\n");
  out.Write("binary.demo", Bytes("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
}

// ---------------------------------------------------------------------------------------------
// Waves

struct WavFormat {
  std::uint32_t tag = 1;
  std::uint32_t channels = 1;
  std::uint32_t rate = 22050;
  std::uint32_t bits = 16;
  std::uint32_t blockAlign = 0;  // 0: worked out
  Bytes extension;               // after the 16 bytes, with its size field when not empty
};

Bytes Chunk(const char* id, const Bytes& body, std::uint32_t sizeField) {
  Bytes c(id, 4);
  Put32(c, sizeField);
  c += body;
  if (body.size() % 2 != 0) c.push_back(0);
  return c;
}

Bytes Chunk(const char* id, const Bytes& body) { return Chunk(id, body, static_cast<std::uint32_t>(body.size())); }

Bytes FmtBody(const WavFormat& f) {
  const std::uint32_t align = f.blockAlign ? f.blockAlign : f.channels * ((f.bits + 7) / 8);
  Bytes b;
  Put16(b, f.tag);
  Put16(b, f.channels);
  Put32(b, f.rate);
  Put32(b, f.rate * align);
  Put16(b, align);
  Put16(b, f.bits);
  if (!f.extension.empty()) {
    Put16(b, static_cast<std::uint32_t>(f.extension.size()));
    b += f.extension;
  }
  return b;
}

Bytes Riff(const Bytes& chunks, const char* form = "WAVE") {
  Bytes r("RIFF", 4);
  Put32(r, static_cast<std::uint32_t>(chunks.size() + 4));
  return r + Bytes(form, 4) + chunks;
}

Bytes Samples(std::size_t bytes) {
  Bytes s;
  for (std::size_t i = 0; i < bytes; ++i) s.push_back(static_cast<char>((i * 73) ^ (i >> 3)));
  return s;
}

Bytes Wav(const WavFormat& f, const Bytes& data) { return Riff(Chunk("fmt ", FmtBody(f)) + Chunk("data", data)); }

void WriteWavCorpus(const fs::path& media, CorpusWriter& out) {
  for (const tavi::media::Sound* effect : tavi::media::Effects) {
    const fs::path file = media / mediagen::MediaFileName(effect->file);
    out.Write("media-" + file.stem().string() + ".wav", ReadFile(file));
  }
  WavFormat f;
  out.Write("pcm16-mono.wav", Wav(f, Samples(400)));
  f.channels = 2;
  f.rate = 44100;
  out.Write("pcm16-stereo.wav", Wav(f, Samples(400)));
  f = WavFormat{};
  f.bits = 8;
  f.rate = 11025;
  out.Write("pcm8.wav", Wav(f, Samples(301)));
  f.bits = 24;
  out.Write("pcm24.wav", Wav(f, Samples(300)));
  f.bits = 32;
  out.Write("pcm32.wav", Wav(f, Samples(400)));
  f.tag = 3;
  out.Write("float32.wav", Wav(f, Bytes(400, '\0')));
  f.bits = 64;
  out.Write("float64.wav", Wav(f, Bytes(400, '\0')));
  f = WavFormat{};
  f.tag = 6;
  f.bits = 8;
  out.Write("alaw.wav", Wav(f, Samples(200)));
  f.tag = 7;
  out.Write("mulaw.wav", Wav(f, Samples(200)));
  {
    // Microsoft ADPCM: samples per block and the seven standard coefficient pairs.
    WavFormat ms;
    ms.tag = 2;
    ms.bits = 4;
    ms.blockAlign = 256;
    Bytes ext;
    Put16(ext, 500);
    Put16(ext, 7);
    const int coefficients[7][2] = {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}};
    for (const auto& pair : coefficients) {
      Put16(ext, static_cast<std::uint32_t>(pair[0]) & 0xFFFF);
      Put16(ext, static_cast<std::uint32_t>(pair[1]) & 0xFFFF);
    }
    ms.extension = ext;
    out.Write("ms-adpcm.wav", Wav(ms, Samples(512)));
    out.Write("ms-adpcm-partial-block.wav", Wav(ms, Samples(300)));
    Bytes badExt = ext;
    badExt[0] = '\xFF';
    badExt[1] = '\xFF';
    ms.extension = badExt;
    out.Write("ms-adpcm-huge-samples-per-block.wav", Wav(ms, Samples(512)));
    ms.extension = ext;
    ms.blockAlign = 1;
    out.Write("ms-adpcm-block-align-1.wav", Wav(ms, Samples(64)));
    ms.extension = Bytes("\x02\x00", 2);
    ms.blockAlign = 256;
    out.Write("ms-adpcm-short-extension.wav", Wav(ms, Samples(512)));
  }
  {
    WavFormat ima;
    ima.tag = 0x11;
    ima.bits = 4;
    ima.blockAlign = 256;
    Bytes ext;
    Put16(ext, 505);
    ima.extension = ext;
    out.Write("ima-adpcm.wav", Wav(ima, Samples(512)));
    ima.channels = 2;
    ima.blockAlign = 512;
    out.Write("ima-adpcm-stereo.wav", Wav(ima, Samples(1024)));
    ima.bits = 3;
    out.Write("ima-adpcm-3bit.wav", Wav(ima, Samples(1024)));
  }
  {
    WavFormat ext;
    ext.tag = 0xFFFE;
    ext.channels = 2;
    Bytes body;
    Put16(body, 16);
    Put32(body, 3);
    // KSDATAFORMAT_SUBTYPE_PCM
    body += Bytes("\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 16);
    ext.extension = body;
    out.Write("extensible-pcm.wav", Wav(ext, Samples(400)));
    ext.extension[6] = '\x55';
    out.Write("extensible-unknown-subtype.wav", Wav(ext, Samples(400)));
  }
  // Broken formats.
  for (const std::uint32_t channels : {0u, 255u, 65535u}) {
    WavFormat odd;
    odd.channels = channels;
    out.Write("channels-" + std::to_string(channels) + ".wav", Wav(odd, Samples(400)));
  }
  for (const std::uint32_t rate : {0u, 1u, 0xFFFFFFFFu}) {
    WavFormat odd;
    odd.rate = rate;
    out.Write("rate-" + std::to_string(rate) + ".wav", Wav(odd, Samples(400)));
  }
  for (const std::uint32_t bits : {0u, 7u, 33u, 0xFFFFu}) {
    WavFormat odd;
    odd.bits = bits;
    out.Write("bits-" + std::to_string(bits) + ".wav", Wav(odd, Samples(400)));
  }
  {
    WavFormat odd;
    odd.blockAlign = 0xFFFF;
    out.Write("block-align-huge.wav", Wav(odd, Samples(400)));
    odd.tag = 0x55;  // MP3 inside a wave
    odd.blockAlign = 0;
    out.Write("tag-mp3.wav", Wav(odd, Samples(400)));
  }
  const Bytes good = Wav(WavFormat{}, Samples(400));
  for (const std::size_t cut : {std::size_t{4}, std::size_t{11}, std::size_t{12}, std::size_t{20}, std::size_t{30},
                                std::size_t{36}, std::size_t{43}, std::size_t{44}, good.size() - 1}) {
    out.Write("truncated-at-" + std::to_string(cut) + ".wav", good.substr(0, cut));
  }
  const Bytes fmt = Chunk("fmt ", FmtBody(WavFormat{}));
  out.Write("data-size-past-the-end.wav", Riff(fmt + Chunk("data", Samples(100), 100000)));
  out.Write("data-size-max.wav", Riff(fmt + Chunk("data", Samples(100), 0xFFFFFFFF)));
  out.Write("data-empty.wav", Riff(fmt + Chunk("data", "")));
  out.Write("data-odd-size.wav", Riff(fmt + Chunk("data", Samples(101))));
  out.Write("no-fmt.wav", Riff(Chunk("data", Samples(100))));
  out.Write("no-data.wav", Riff(fmt));
  out.Write("fmt-after-data.wav", Riff(Chunk("data", Samples(100)) + fmt));
  out.Write("fmt-short.wav", Riff(Chunk("fmt ", Bytes("\x01\x00", 2)) + Chunk("data", Samples(100))));
  out.Write("two-data-chunks.wav", Riff(fmt + Chunk("data", Samples(100)) + Chunk("data", Samples(50))));
  out.Write("list-chunk-huge.wav", Riff(fmt + Chunk("LIST", "INFO", 0xFFFFFFF0) + Chunk("data", Samples(100))));
  out.Write("fact-and-junk.wav", Riff(fmt + Chunk("fact", Bytes("\x10\x00\x00\x00", 4)) + Chunk("JUNK", Repeat('j', 33)) +
                                      Chunk("data", Samples(100))));
  {
    Bytes lie = good;
    Set32(lie, 4, 0xFFFFFFFF);
    out.Write("riff-size-max.wav", lie);
    Set32(lie, 4, 3);
    out.Write("riff-size-3.wav", lie);
  }
  out.Write("riff-not-wave.wav", Riff(fmt + Chunk("data", Samples(100)), "WAVX"));
  out.Write("rifx.wav", "RIFX" + good.substr(4));
}

// ---------------------------------------------------------------------------------------------
// MIDI

Bytes MidiHeader(std::uint32_t format, std::uint32_t tracks, std::uint32_t division, std::uint32_t length = 6) {
  Bytes h("MThd", 4);
  Put32Be(h, length);
  Put16Be(h, format);
  Put16Be(h, tracks);
  Put16Be(h, division);
  return h;
}

Bytes Track(const Bytes& events, std::uint32_t lengthField) {
  Bytes t("MTrk", 4);
  Put32Be(t, lengthField);
  return t + events;
}

Bytes Track(const Bytes& events) { return Track(events, static_cast<std::uint32_t>(events.size())); }

const Bytes EndOfTrack("\x00\xFF\x2F\x00", 4);

// A bar of a tune: tempo, a program change, notes with running status, a controller.
Bytes Tune() {
  return Bytes("\x00\xFF\x51\x03\x07\xA1\x20"  // tempo 500000
               "\x00\xC0\x05"                  // program 5
               "\x00\xB0\x07\x64"              // volume
               "\x00\x90\x3C\x40"              // note on C
               "\x60\x3E\x40"                  // running status: note on D
               "\x60\x80\x3C\x00"              // note off C
               "\x00\x3E\x00"                  // running status: note off D
               "\x00\xE0\x00\x40",             // pitch bend centre
               32);
}

void WriteMidiCorpus(const fs::path& media, CorpusWriter& out) {
  const fs::path music = media / mediagen::MediaFileName(tavi::media::Music.file);
  out.Write("media-" + music.stem().string() + ".mid", ReadFile(music));
  const Bytes tune = Tune() + EndOfTrack;
  const Bytes good = MidiHeader(0, 1, 96) + Track(tune);
  out.Write("format0.mid", good);
  out.Write("format1.mid", MidiHeader(1, 2, 96) + Track(Bytes("\x00\xFF\x51\x03\x07\xA1\x20", 7) + EndOfTrack) + Track(tune));
  out.Write("format2.mid", MidiHeader(2, 2, 96) + Track(tune) + Track(tune));
  out.Write("smpte-division.mid", MidiHeader(0, 1, 0xE728) + Track(tune));
  out.Write("sysex.mid", MidiHeader(0, 1, 96) + Track(Bytes("\x00\xF0\x05\x7E\x7F\x09\x01\xF7" "\x00\xF7\x02\x01\x02", 13) + tune));
  out.Write("text-meta.mid", MidiHeader(0, 1, 96) + Track(Bytes("\x00\xFF\x03\x04Tavi", 8) + tune));
  out.Write("header-length-8.mid", MidiHeader(0, 1, 96, 8) + Bytes(2, '\0') + Track(tune));
  out.Write("rmid.mid", Riff(Chunk("data", good), "RMID"));
  // Broken files.
  out.Write("no-tracks.mid", MidiHeader(0, 0, 96));
  out.Write("more-tracks-than-there-are.mid", MidiHeader(1, 65535, 96) + Track(tune));
  out.Write("division-zero.mid", MidiHeader(0, 1, 0) + Track(tune));
  out.Write("format-7.mid", MidiHeader(7, 1, 96) + Track(tune));
  for (const std::uint32_t length : {0u, 5u, 0xFFFFFFFFu}) {
    out.Write("header-length-" + std::to_string(length) + ".mid", MidiHeader(0, 1, 96, length) + Track(tune));
  }
  out.Write("track-length-past-the-end.mid", MidiHeader(0, 1, 96) + Track(tune, 100000));
  out.Write("track-length-max.mid", MidiHeader(0, 1, 96) + Track(tune, 0xFFFFFFFF));
  out.Write("track-length-short.mid", MidiHeader(0, 1, 96) + Track(tune, 5) + tune.substr(5));
  for (const std::size_t cut : {std::size_t{4}, std::size_t{13}, std::size_t{14}, std::size_t{21}, std::size_t{30}, good.size() - 1}) {
    out.Write("truncated-at-" + std::to_string(cut) + ".mid", good.substr(0, cut));
  }
  out.Write("endless-delta.mid", MidiHeader(0, 1, 96) + Track(Bytes("\xFF\xFF\xFF\xFF\xFF\x7F\x90\x3C\x40", 9) + EndOfTrack));
  out.Write("meta-length-huge.mid", MidiHeader(0, 1, 96) + Track(Bytes("\x00\xFF\x01\x8F\xFF\xFF\x7F" "abc", 10) + EndOfTrack));
  out.Write("sysex-length-huge.mid", MidiHeader(0, 1, 96) + Track(Bytes("\x00\xF0\x8F\xFF\xFF\x7F\x01", 7) + EndOfTrack));
  out.Write("running-status-first.mid", MidiHeader(0, 1, 96) + Track(Bytes("\x00\x3C\x40\x10\x3C\x00", 6) + EndOfTrack));
  out.Write("data-byte-high.mid", MidiHeader(0, 1, 96) + Track(Bytes("\x00\x90\xBC\xC0", 4) + EndOfTrack));
  out.Write("no-end-of-track.mid", MidiHeader(0, 1, 96) + Track(Tune()));
  out.Write("tempo-zero.mid", MidiHeader(0, 1, 96) + Track(Bytes("\x00\xFF\x51\x03\x00\x00\x00", 7) + tune));
  out.Write("tempo-short.mid", MidiHeader(0, 1, 96) + Track(Bytes("\x00\xFF\x51\x01\x07", 5) + tune));
  out.Write("undefined-status.mid", MidiHeader(0, 1, 96) + Track(Bytes("\x00\xF4\x00\xF5\x00\xFD", 6) + tune));
  out.Write("empty-track.mid", MidiHeader(0, 1, 96) + Track(""));
  out.Write("only-header-tag.mid", "MThd");
  out.Write("empty.mid", "");
  out.Write("text.mid", "Das ist keine Musik.\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_corpora MEDIA_DIR OUT_DIR\n");
    return 2;
  }
  const fs::path media = argv[1];
  const fs::path outDir = argv[2];
  std::error_code error;
  if (!fs::is_directory(media, error)) {
    std::fprintf(stderr, "make_corpora: no media directory %s\n", media.c_str());
    return 1;
  }
  CorpusWriter bmp(outDir / "bmp");
  CorpusWriter highscore(outDir / "highscore");
  CorpusWriter demo(outDir / "demo");
  CorpusWriter wav(outDir / "wav");
  CorpusWriter midi(outDir / "midi");
  WriteBmpCorpus(media, bmp);
  WriteHighscoreCorpus(highscore);
  WriteDemoCorpus(demo);
  WriteWavCorpus(media, wav);
  WriteMidiCorpus(media, midi);
  for (const CorpusWriter* corpus : {&bmp, &highscore, &demo, &wav, &midi}) {
    if (corpus->failed) return 1;
  }
  std::printf("make_corpora: bmp %d, highscore %d, demo %d, wav %d, midi %d seeds\n", bmp.count,
              highscore.count, demo.count, wav.count, midi.count);
  return 0;
}
