#include "UserNotice.h"

#include <QMessageBox>

namespace vqdbd {

void MessageBoxNotice::tell(const QString& title, const QString& text)
{
    auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok);
    box->setObjectName(QStringLiteral("VQ_DBD_NOTICE"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

} // namespace vqdbd
