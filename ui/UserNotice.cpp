#include "UserNotice.h"

#include <QApplication>
#include <QMessageBox>

namespace vqdbd {

void MessageBoxNotice::tell(const QString& title, const QString& text)
{
    // Over an open modal window a free-standing box could be seen but not dismissed; as that window's
    // child it takes input.
    auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok,
                                QApplication::activeModalWidget());
    box->setObjectName(QStringLiteral("VQ_DBD_NOTICE"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

} // namespace vqdbd
