#include "skin/skin_font.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "skin/font_faces.h"
#include "skin/png_button_face.h"

namespace qx::skin {
namespace {

constexpr double kPointsPerInch = 72.0;

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

}  // namespace

QFont MakeSkinFont(std::string_view skinFace, double points, int dpiY, int weight) {
    QFont font;
    font.setFamilies({FromView(InstalledFace(skinFace)), FromView(kInstalledFallbackFace)});
    font.setStyleHint(QFont::SansSerif);
    const int pixels = static_cast<int>(std::lround(points * dpiY / kPointsPerInch));
    font.setPixelSize(std::max(1, pixels));
    font.setWeight(static_cast<QFont::Weight>(QtWeightOf(weight)));
    return font;
}

}  // namespace qx::skin
