#include "platform/core/command_line.h"

#include <QCoreApplication>
#include <QStringList>

namespace quillon {

namespace {
QString overridden;
bool isOverridden = false;
} // namespace

QString FirstArgumentUpper() {
    if (isOverridden)
        return overridden.toUpper();
    const QStringList args = QCoreApplication::arguments();
    return args.size() > 1 ? args.at(1).toUpper() : QString();
}

void setFirstArgumentForTesting(const QString& argument) {
    overridden = argument;
    isOverridden = !argument.isEmpty();
}

} // namespace quillon
