// SPDX-License-Identifier: GPL-3.0-or-later
#include "Section.h"

#include <QFileInfo>

namespace vqdbd {

QString sectionForProgram(const QString& programPath)
{
    const QString name = QFileInfo(programPath).completeBaseName();
    return name.isEmpty() ? QStringLiteral("vq-dbd") : name;
}

} // namespace vqdbd
