#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace rpn {

// The pixel sizes of the hicolor PNGs installed beside the scalable icon.
const std::vector<int>& IconPixelSizes();

enum class IconDetail { Full, Small };

// The icon as SVG text. Small is the simplified outline on a 16-unit grid,
// used below 32 pixels where the full face would blur into mush.
QString IconSvg(IconDetail detail);

IconDetail DetailForSize(int pixels);

// The icon of the state files' MIME type: a page with the calculator on it.
QString MimeIconSvg();

// Renders the SVG of the right detail for `pixels` into a square ARGB image.
QImage RenderIcon(int pixels);

}  // namespace rpn
