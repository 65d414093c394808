// Build tool: turns the main window's SVG pictures and icons into filled
// drawings (SvgDrawing::Filled) and writes them as a C++ source that defines
// BuiltPicture (built_pictures.h).
//   serenitap_fill_pictures <output.cpp> <resources folder> <name>...
// Each name is a file's path under the folder ("pictures/body_chart.svg").
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "ui/main/built_pictures.h"

namespace {

std::string Format(const char* format, auto... values) {
  char text[128];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

std::string Doubles(const auto& values) {
  std::string text = "{";
  for (std::size_t i = 0; i < values.size(); ++i) text += Format(i == 0 ? "%.17g" : ", %.17g", values[i]);
  return text + "}";
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <output.cpp> <resources folder> <name>...\n", argv[0]);
    return 2;
  }
  std::string text =
      "// Generated at build time by serenitap_fill_pictures from the pictures in resources/: do not edit.\n"
      "#include \"ui/main/built_pictures.h\"\n\nnamespace serenitap::main_window {\nnamespace {\n\n";
  std::string lookUp;
  std::vector<std::vector<serenitap::FilledPathElement>> elementsOf;  // each picture's, in turn
  for (int n = 3; n < argc; ++n) {
    const std::string name = argv[n];
    QFile file(QString::fromLocal8Bit(argv[2]) + QLatin1Char('/') + QString::fromStdString(name));
    std::optional<serenitap::SvgDrawing> drawing;
    if (file.open(QIODevice::ReadOnly)) drawing = serenitap::SvgDrawing::FromData(file.readAll());
    if (!drawing) {
      std::fprintf(stderr, "%s: %s/%s is not a picture the program draws\n", argv[0], argv[2], name.c_str());
      return 1;
    }
    const serenitap::FilledPicture picture = drawing->Filled();
    const std::string id = std::to_string(n - 3);
    // A picture drawn with the points of an earlier one (the right hand, the
    // left one mirrored) shares them.
    std::string elementsId = id;
    for (std::size_t earlier = 0; earlier < elementsOf.size(); ++earlier) {
      if (std::equal(picture.elements.begin(), picture.elements.end(), elementsOf[earlier].begin(),
                     elementsOf[earlier].end(),
                     [](const auto& a, const auto& b) { return a.type == b.type && a.x == b.x && a.y == b.y; }))
        elementsId = std::to_string(earlier);
    }
    elementsOf.push_back(picture.elements);
    text += "// " + name + "\n";
    if (elementsId == id) {
      text += "constexpr FilledPathElement kElements" + id + "[] = {";
      for (std::size_t i = 0; i < picture.elements.size(); ++i) {
        const serenitap::FilledPathElement& e = picture.elements[i];
        text += Format("%s{%d, %.9g, %.9g},", i % 4 == 0 ? "\n    " : " ", e.type, e.x, e.y);
      }
      if (picture.elements.empty()) text += "{}";  // an array of none is not C++
      text += "\n};\n";
    }
    text += "constexpr FilledShape kShapes" + id + "[] = {\n";
    for (const serenitap::FilledShape& s : picture.shapes) {
      text += Format("    {FilledShape::Kind(%d), %s, 0x%08xu, %.17g, ", static_cast<int>(s.kind),
                     s.winding ? "true" : "false", s.argb, s.opacity) +
              Doubles(s.transform) + ", " + Doubles(s.bounds) +
              Format(", %uu, %uu, %.17g, %d, %d, %uu},\n", s.first, s.count, s.lineWidth, s.cap, s.join, s.centreCount);
    }
    text += "};\nconstexpr FilledDrawing kDrawing" + id + Format("{%d, %d, ", picture.width, picture.height) +
            Doubles(picture.viewBox) + ", kShapes" + id + ", kElements" + elementsId + "};\n\n";
    lookUp += "  if (name == \"" + name + "\") return &kDrawing" + id + ";\n";
  }
  text += "}  // namespace\n\nconst FilledDrawing* BuiltPicture(std::string_view name) {\n" + lookUp +
          "  return nullptr;\n}\n\n}  // namespace serenitap::main_window\n";
  std::FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr || std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fclose(out) != 0) {
    std::fprintf(stderr, "%s: could not write %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
