// The skin description and the schema that reads it (skin/data/WinSkinIni,
// SkinSchema): the description's own INI reader, its numbers and colour
// texts, the values of every object section, the frame counts worked out
// from an image's size, and the images the engine builds from a strip with
// those margins and frame counts (skin/data/SkinImage, the composition every
// drawing routine and the built combo box images go through).
//
// Input: four bytes (strip width and height, target width and height, all
// small), then the description's text.
//
// Checked besides the absence of faults: values come back trimmed and never
// empty unless they are the default; whole numbers the reader takes give
// the same number written back in decimal; after the schema's normalising,
// no object has a frame count below 1 or a negative margin; composed images
// keep their size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "SkinImage.h"
#include "SkinPixels.h"
#include "SkinSchema.h"
#include "WinSkinIni.h"

namespace {

void CheckValue(const TQuickIni& ini, const std::string& section, const std::string& key) {
  const std::string value = ini.ReadString(section, key, "\x01");
  if (value.empty()) abort();
  if (value != "\x01" && TrimText(value) != value) abort();
  int32_t number = 0;
  if (ParseIniInteger(value, number)) {
    if (ini.ReadInteger(section, key, number ^ 1) != number) abort();
    int32_t again = ~number;
    if (!ParseIniInteger(std::to_string(number), again) || again != number) abort();
  }
  const TColor colour = ParseColourText(value);
  if (colour > 0xFFFFFF) abort();
}

// The images an object's strip gives at the target's size.
void Compose(const TSkinObjectValues& o, const TPixelBuffer& strip, int tw, int th) {
  TPixelBuffer out(tw, th, 0);
  const bool vertical = (o.Style & 1) != 0;
  const int states[2] = {1, o.Frame};
  for (int n : states) {
    const TSkinRect r = SkinImageRect(strip, vertical, o.Frame, n);
    if (r.Left < 0 || r.Top < 0) abort();
    MakeSkinImage(out, strip, o.Margins(), vertical, o.Tile == 1, o.Frame, n);
    MakeSkinImageH3(out, strip, vertical, o.Frame, n, o.Margins());
    MakeStretchedH3(out, strip, vertical, o.Frame, n, o.Margins());
    MakeSkinCell(out, strip, o.Frame, n);
    if (out.Width() != (tw > 0 && th > 0 ? tw : 0)) abort();
  }
  if (o.Trans == 1) OpaqueRuns(out, 4, 30, 0, 0, 0, kMagenta);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4 || size > 16384) return 0;
  const int sw = 1 + data[0] % 64, sh = 1 + data[1] % 64, tw = data[2] % 64, th = data[3] % 32;
  const std::string text(reinterpret_cast<const char*>(data + 4), size - 4);

  TQuickIni ini;
  ini.LoadFromText(text);
  std::vector<std::string> sections;
  ini.ReadSections(&sections);
  if (sections.size() != ini.SectionIndex.size()) abort();

  // A strip with a pattern, so that the composed images are real copies.
  TPixelBuffer strip(sw, sh);
  for (int y = 0; y < sh; ++y)
    for (int x = 0; x < sw; ++x) strip.SetPixel(x, y, (x * 7 + y * 13) % 3 == 0 ? kMagenta : RGBColor(x, y, x ^ y));

  // The first 64 sections are read (a description's reader looks each key
  // up from the start, so a text of thousands of sections would spend the
  // fuzzer's time on repeats), the first 8 of them built into images.
  for (size_t i = 0; i < sections.size() && i < 64; ++i) {
    const std::string& section = sections[i];
    // The section's keys as the lines name them.
    const size_t first = static_cast<size_t>(ini.SectionIndex[i].second) + 1;
    const size_t end = i + 1 < sections.size() ? static_cast<size_t>(ini.SectionIndex[i + 1].second) : ini.Lines.size();
    for (size_t l = first; l < end && l < first + 64; ++l) {
      const std::string& line = ini.Lines[l];
      const size_t eq = line.find('=');
      if (eq != std::string::npos) CheckValue(ini, section, TrimText(line.substr(0, eq)));
    }

    TSkinObjectValues o;
    ReadSkinObjectValues(ini, section, true, RGBColor(1, 2, 3), o);
    if (o.Tile > 1) abort();
    TColor active = 0x1FFFFFFF;
    ReadSkinTextColour(ini, section, "ActiveText", active);
    if (active != 0x1FFFFFFF && active > 0xFFFFFF) abort();
    o.Normalise();
    if (o.Frame < 1 || o.LeftWidth < 0 || o.TopHeight < 0 || o.RightWidth < 0 || o.BottomHeight < 0) abort();
    if (i < 8) Compose(o, strip, tw, th);

    const int32_t action = ini.ReadInteger(section, "Action", 0);
    const int32_t frames = SysButtonFrameCount(action, sw, sh);
    if (frames != 3 && frames != 6) abort();
    if (GlyphFrameCount(sw, sh) < 4) abort();
  }
  return 0;
}
