#include "documents/palette_icons.h"

#include <QFile>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>
#include <cstdio>
#include <regex>

#include "core/contrast.h"

namespace {

uint32_t ParseHex(const std::string& hex) {
  std::string six = hex.size() == 3 ? std::string{hex[0], hex[0], hex[1], hex[1], hex[2], hex[2]} : hex;
  return uint32_t(std::stoul(six, nullptr, 16));
}

uint32_t Blend(uint32_t from, uint32_t to, double t) {
  uint32_t out = 0;
  for (int shift : {16, 8, 0}) {
    double a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
    out |= uint32_t(a + (b - a) * t + 0.5) << shift;
  }
  return out;
}

bool IsDark(const QPalette& palette) { return palette.color(QPalette::Window).lightness() < 128; }

}  // namespace

std::string RecolourSvg(const std::string& svg, uint32_t background, uint32_t text, double minimum) {
  static const std::regex colour(R"(((?:fill|stroke)=")#([0-9a-fA-F]{6}|[0-9a-fA-F]{3})("))");
  std::string out;
  auto last = svg.cbegin();
  for (std::sregex_iterator it(svg.begin(), svg.end(), colour), end; it != end; ++it) {
    const std::smatch& m = *it;
    out.append(last, m[0].first);
    last = m[0].second;
    uint32_t c = ParseHex(m[2].str());
    if (core::ContrastRatio(c, background) >= minimum) {
      out += m[0].str();
      continue;
    }
    // Keep as much of the hue as the contrast allows.
    uint32_t mixed = text;
    for (int step = 1; step <= 20; ++step) {
      uint32_t candidate = Blend(c, text, step / 20.0);
      if (core::ContrastRatio(candidate, background) >= minimum) {
        mixed = candidate;
        break;
      }
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%06x", unsigned(mixed));
    out += m[1].str() + hex + m[3].str();
  }
  out.append(last, svg.cend());
  return out;
}

QIcon PaletteIcon(const QString& path, const QPalette& palette) {
  if (!IsDark(palette)) return QIcon(path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QIcon(path);
  const std::string svg = file.readAll().toStdString();
  const std::string recoloured = RecolourSvg(svg, palette.color(QPalette::Window).rgb() & 0xFFFFFF,
                                             palette.color(QPalette::WindowText).rgb() & 0xFFFFFF);
  QSvgRenderer renderer(QByteArray::fromStdString(recoloured));
  if (!renderer.isValid()) return QIcon(path);
  QIcon icon;
  const QSize base = renderer.defaultSize().isValid() ? renderer.defaultSize() : QSize(17, 17);
  for (int scale : {1, 2, 3}) {
    QPixmap pixmap(base * scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}
