// Build tool: renders the program's picture (an SVG file) at each size of
// kProgramIconSizes and writes them as a C++ source of premultiplied ARGB
// pixels (see program_icon.h).
//   serenitap_render_icon <picture.svg> <output.cpp>
// The picture is drawn as the toolkit's SVG icon engine draws it for a
// window icon: scaled to fit the square with its aspect ratio kept, on a
// transparent ground, with the SVG renderer.
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/program_icon.h"

namespace {

QImage Render(QSvgRenderer& renderer, int size) {
  QSize actual = renderer.defaultSize();
  if (!actual.isNull()) actual.scale(size, size, Qt::KeepAspectRatio);
  QImage image(actual, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  return image;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <picture.svg> <output.cpp>\n", argv[0]);
    return 2;
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    std::fprintf(stderr, "%s: %s is not a picture the SVG renderer can draw\n", argv[0], argv[1]);
    return 1;
  }
  std::string text =
      "// Generated at build time by serenitap_render_icon from the program's picture: do not edit.\n"
      "#include \"app/program_icon.h\"\n\nnamespace serenitap {\nnamespace {\n\n";
  std::string table = "constexpr IconPixels kSizes[] = {\n";
  for (const int size : serenitap::kProgramIconSizes) {
    const QImage image = Render(renderer, size);
    if (image.width() != size || image.height() != size) {
      std::fprintf(stderr, "%s: %s is not square\n", argv[0], argv[1]);
      return 1;
    }
    text += "constexpr std::uint32_t kPixels" + std::to_string(size) + "[] = {";
    for (int y = 0; y < size; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
      for (int x = 0; x < size; ++x) {
        char pixel[32];
        std::snprintf(pixel, sizeof pixel, "%s0x%08" PRIx32 ",", x % 8 == 0 ? "\n    " : " ", row[x]);
        text += pixel;
      }
    }
    text += "\n};\n\n";
    table += "    {" + std::to_string(size) + ", kPixels" + std::to_string(size) + "},\n";
  }
  text += table +
          "};\n\n}  // namespace\n\nstd::span<const IconPixels> ProgramIconPixels() { return kSizes; }\n\n"
          "}  // namespace serenitap\n";
  std::FILE* out = std::fopen(argv[2], "w");
  if (out == nullptr || std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fclose(out) != 0) {
    std::fprintf(stderr, "%s: could not write %s\n", argv[0], argv[2]);
    return 1;
  }
  return 0;
}
