#pragma once
// The program's name as every window, box and card shows it.
#include <QString>

namespace quillon {

inline QString productName() {
    return QStringLiteral("Quillon for DirectX");
}

} // namespace quillon
