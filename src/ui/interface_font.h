// The interface font: the face named in the settings file, with faces that carry the Chinese
// texts behind it for a machine that lacks the named one.
#pragma once

#include <QFont>
#include <string>

namespace tq::ui {

inline QFont InterfaceFont(const std::string& fontName, QFont base) {
  base.setFamilies({QString::fromStdString(fontName), QStringLiteral("Noto Sans CJK SC"),
                    QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("DejaVu Sans")});
  return base;
}

}  // namespace tq::ui
