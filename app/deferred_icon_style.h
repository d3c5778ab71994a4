#pragma once

#include <QProxyStyle>

namespace rpn {

// The desktop's style, unchanged but for one icon: the extension buttons of
// the menu bar and the command bar, shown only when a bar overflows, ask the
// style for their arrow as they are made, and the style reads it from PNG
// files through the image reader, which first loads the list of every
// image-format plugin. That was about a tenth of a start's work before the
// first frame. Here the arrow is read from the style when it is first drawn
// or measured.
class DeferredIconStyle final : public QProxyStyle {
public:
    // Over a fresh instance of the style the application uses now.
    DeferredIconStyle();

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace rpn
