// The desktop's own widget style, with one difference: the icon of the menu bar's overflow button
// is made when it is first drawn. The menu bar asks for it when it is created, and making it loads
// every image-format plugin, while a window as wide as its menus never shows that button.
#pragma once

#include <QProxyStyle>
#include <QStyleOption>

#include "ui/LazyIcon.h"

class StartupStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override {
    if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
      return QProxyStyle::standardIcon(icon, option, widget);
    // The button's icon points the way the text runs: keep that, not the widget itself.
    QStyleOption direction;
    direction.direction =
        option ? option->direction : (widget ? widget->layoutDirection() : Qt::LeftToRight);
    const QStyle* base = baseStyle();
    return LazyIcon([base, icon, direction] { return base->standardIcon(icon, &direction); });
  }
};
