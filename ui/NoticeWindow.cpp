// SPDX-License-Identifier: GPL-3.0-or-later
#include "NoticeWindow.h"

#include "Design.h"
#include "Twips.h"
#include "platform/WindowManager.h"
#include "state/Captions.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <vector>

namespace vqdbd {

namespace {

const QString kCaptionStart = captions::withShortName(QString());

std::vector<ui::ControlDesign> noticeDesign()
{
    using ui::ControlKind;
    return {
        ui::controlDesign(QStringLiteral("VQ_DBD_TITLE_1"), ControlKind::Label, QStringLiteral("VELA-QUILL"),
                          120, 120, 3375, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("VQ_DBD_TITLE_2"), ControlKind::Label, QStringLiteral("VQ-DBD"),
                          3600, 120, 1455, 315, ui::kTitleLook),
        ui::controlDesign(QStringLiteral("NOTICE_LABEL"), ControlKind::Label, QStringLiteral("NOTICES"), 5160,
                          120, 3375, 315, ui::kTitleLook),
        ui::controlDesign(
            QStringLiteral("NOTICE_LIST_TEXTBOX"), ControlKind::MultiLineTextBox, QString(), 120, 600, 8415,
            2280,
            { .font = ui::FontDesign { ui::FontDesign::Face::SansSerif, 8.25, false }, .locked = true }),
        ui::controlDesign(QStringLiteral("DISMISS_BUTTON"), ControlKind::Button, QStringLiteral("DISMISS"),
                          6600, 3000, 1935, 495),
    };
}

} // namespace

QString NoticeWindow::windowName()
{
    return QStringLiteral("VQ_DBD_NOTICE");
}

QString NoticeWindow::title()
{
    return kCaptionStart + QStringLiteral("NOTICES");
}

NoticeWindow::NoticeWindow(WindowManager& windows)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , windows_(windows)
{
    setObjectName(windowName());
    setWindowTitle(title());
    setFixedSize(ui::toPixels(8655.0f), ui::toPixels(3615.0f));
    const std::vector<ui::ControlDesign> design = noticeDesign();
    ui::createControls(*this, design);
    list_ = findChild<QPlainTextEdit*>(QStringLiteral("NOTICE_LIST_TEXTBOX"), Qt::FindDirectChildrenOnly);
    dismiss_ = findChild<QPushButton*>(QStringLiteral("DISMISS_BUTTON"), Qt::FindDirectChildrenOnly);
    Q_ASSERT(list_ && dismiss_);
    connect(dismiss_, &QPushButton::clicked, this, &NoticeWindow::onDismissClicked);

    // The window exists from the start, so that it hears whenever a modal window blocks it.
    winId();
    windowHandle()->installEventFilter(this);
}

NoticeWindow::~NoticeWindow() = default;

void NoticeWindow::keepOver(QWidget& owner)
{
    owner_ = &owner;
}

void NoticeWindow::tell(const QString& title, const QString& text)
{
    const QString heading = title.startsWith(kCaptionStart) ? title.mid(kCaptionStart.size()) : title;
    notices_.append(heading + u'\n' + text);
    list_->setPlainText(notices_.join(QStringLiteral("\n\n")));
    // The newest notice is the one to read.
    list_->moveCursor(QTextCursor::End);
    list_->ensureCursorVisible();
    if (!isVisible()) {
        followModalWindow();
        show();
        dismiss_->setFocus();
    }
    raise();
    // Once this turn is done, so that a window opened in it (the notification window of the alarm
    // whose command failed) is up first.
    frontPending_ = true;
    QTimer::singleShot(0, this, &NoticeWindow::comeToFront);
}

void NoticeWindow::comeToFront()
{
    if (!isVisible() || !frontPending_)
        return;
    const auto own = static_cast<WindowManager::WindowId>(winId());
    keepWithOwner();
    // While the clock is kept above the other windows, the notice stands in that band too.
    windows_.setKeepAbove(own, clockKeptAbove());
    windows_.raise(own);
    windows_.activate(own);
    // A modal window is raised and given the focus by the window system once it is on the screen,
    // which may come later than this.
    frontPending_ = followed_ && !followed_->isExposed();
}

void NoticeWindow::keepWithOwner()
{
    // The clock's dialogs stand in its band, above every other window while it is kept above; the
    // notice goes over them only from within that band. Some window managers keep a modal window
    // over every other window kept with the same owner: while one is open the notice is kept with
    // it, and with the clock again once it goes.
    const WindowManager::WindowId owner = ownerId();
    if (owner != 0 && internalWinId() != 0)
        windows_.stackOver(static_cast<WindowManager::WindowId>(internalWinId()), owner);
}

bool NoticeWindow::clockKeptAbove()
{
    return owner_ && owner_->internalWinId() != 0
        && windows_.isKeptAbove(static_cast<WindowManager::WindowId>(owner_->internalWinId()));
}

WindowManager::WindowId NoticeWindow::ownerId() const
{
    const QWindow* owner = followed_ ? followed_.data() : (owner_ ? owner_->windowHandle() : nullptr);
    return owner ? static_cast<WindowManager::WindowId>(owner->winId()) : 0;
}

void NoticeWindow::onDismissClicked()
{
    close();
}

void NoticeWindow::closeEvent(QCloseEvent* event)
{
    // What was dismissed has been read; the next notice starts a fresh list.
    notices_.clear();
    list_->clear();
    event->accept();
}

void NoticeWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

bool NoticeWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::WindowBlocked)
        followModalWindow();
    // Qt asks for a new window's activation when the window system has mapped it, before it is
    // exposed: asked now, the notice's comes after it.
    if (watched == followed_ && event->type() == QEvent::Expose && followed_->isExposed())
        comeToFront();
    return QWidget::eventFilter(watched, event);
}

void NoticeWindow::followModalWindow()
{
    // A modal window lets input through only to the windows that are its own (transient) children.
    // Leaning on the topmost modal window as transient parent, for Qt alone and not as a widget
    // parent, the notice takes input over it, and that window's closing does not close the notice.
    // The window system is told of it apart (keepWithOwner).
    QWindow* own = windowHandle();
    if (!own)
        return;
    QWindow* modal = QGuiApplication::modalWindow();
    if (modal == own || (modal && !modal->isTopLevel()))
        modal = nullptr;
    if (followed_ == modal && own->transientParent() == modal)
        return;
    if (followed_) {
        disconnect(followed_, nullptr, this, nullptr);
        followed_->removeEventFilter(this);
    }
    followed_ = modal;
    if (modal) {
        modal->installEventFilter(this);
        // Once it goes, the next modal window below it, if any, is followed instead: at once when it
        // is destroyed, and after the hiding is done when it is only hidden (it still counts as the
        // topmost modal window while it says so).
        connect(modal, &QWindow::visibleChanged, this, &NoticeWindow::followModalWindow,
                Qt::QueuedConnection);
        connect(modal, &QObject::destroyed, this, &NoticeWindow::followModalWindow);
    }
    own->setTransientParent(modal);
    if (isVisible())
        keepWithOwner();
}

} // namespace vqdbd
