// picgen: draws the client's picture resources.
//
//   picgen --font FONT --out DIR [--source FILE] [--sheet PNG [--zoom N]] [--only FIRST-LAST]
//
// Writes every picture of the catalogue as DIR/<type>_<id>.gif; --source
// also writes the C++ source that embeds them, --sheet a contact sheet of
// the pictures (enlarged N times, 2 by default). --only limits the run to
// the identifiers FIRST..LAST, for looking at part of the set; it cannot be
// combined with --source. Exits 1 on any failure.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue.h"
#include "embed.h"
#include "gif_encode.h"
#include "sheet.h"
#include "text.h"

namespace {

struct Options {
  std::string font, out, source, sheet;
  int zoom = 2;
  int first = 0, last = 1 << 30;
  bool only = false;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (arg == "--font") {
      o.font = value;
    } else if (arg == "--out") {
      o.out = value;
    } else if (arg == "--source") {
      o.source = value;
    } else if (arg == "--sheet") {
      o.sheet = value;
    } else if (arg == "--zoom") {
      o.zoom = std::atoi(value.c_str());
    } else if (arg == "--only") {
      if (std::sscanf(value.c_str(), "%d-%d", &o.first, &o.last) != 2) return false;
      o.only = true;
    } else {
      return false;
    }
  }
  return !o.font.empty() && !o.out.empty() && !(o.only && !o.source.empty()) && o.zoom >= 1;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

// The first word of a label names the kind of picture; a new kind starts a
// new row on the contact sheet.
std::string Kind(const std::string& label) { return label.substr(0, label.find(' ')); }

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fprintf(stderr,
                 "usage: picgen --font FONT --out DIR [--source FILE] [--sheet PNG [--zoom N]] "
                 "[--only FIRST-LAST]\n");
    return 1;
  }
  if (!picgen::OpenFont(o.font)) return 1;

  std::vector<picgen::EmbeddedResource> embedded;
  std::vector<picgen::SheetEntry> sheet;
  std::string last_kind;
  bool ok = true;
  for (const picgen::PictureSpec& spec : picgen::Catalogue()) {
    if (spec.id < o.first || spec.id > o.last) continue;
    const picgen::Canvas canvas = spec.draw();
    if (canvas.width != spec.width || canvas.height != spec.height) {
      std::fprintf(stderr, "picgen: %s %d drawn %dx%d, wanted %dx%d\n", spec.type.c_str(), spec.id,
                   canvas.width, canvas.height, spec.width, spec.height);
      ok = false;
      continue;
    }
    const picgen::IndexedImage image = picgen::Quantize(canvas, spec.matte, spec.transparency);
    std::vector<uint8_t> gif = picgen::EncodeGif(image);
    const std::string name = o.out + "/" + spec.type + "_" + std::to_string(spec.id) + ".gif";
    if (gif.empty() || !WriteFile(name, gif)) {
      std::fprintf(stderr, "picgen: cannot write %s\n", name.c_str());
      ok = false;
      continue;
    }
    if (!o.sheet.empty()) {
      const std::string kind = spec.type + Kind(spec.label);
      sheet.push_back({std::to_string(spec.id) + " " + spec.label.substr(spec.label.find(' ') + 1),
                       kind != last_kind, picgen::Expanded(image)});
      last_kind = kind;
    }
    embedded.push_back({spec.type, spec.id, std::move(gif)});
  }
  if (ok && !o.source.empty() && !picgen::WriteResourceSource(o.source, std::move(embedded))) {
    std::fprintf(stderr, "picgen: cannot write %s\n", o.source.c_str());
    ok = false;
  }
  if (ok && !o.sheet.empty() && !picgen::WriteContactSheet(o.sheet, sheet, o.zoom)) {
    std::fprintf(stderr, "picgen: cannot write %s\n", o.sheet.c_str());
    ok = false;
  }
  picgen::CloseFont();
  return ok ? 0 : 1;
}
