#pragma once
// The program's name as every window, box and card shows it.
#include <QString>

namespace quillon {

inline QString ProductName() {
    return QStringLiteral("Quillon for DirectX");
}

} // namespace quillon
