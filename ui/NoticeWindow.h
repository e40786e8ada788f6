// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/UserNotice.h"
#include "platform/WindowManager.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QWindow;

namespace vqdbd {

class WindowManager;

// VQ_DBD_NOTICE: the one window in which the program tells the user what went wrong (an alarm that
// was passed over, a command that did not start or failed, a settings store that failed), newest
// last. Later notices join the list instead of opening more windows. It belongs to no other window,
// so no other window's closing takes it along, and it takes input even while a modal window is open.
// It stays until the user dismisses it, which empties it. A new notice brings it in front of every
// window of the program, a modal window that opened with it included, with the focus.
class NoticeWindow final : public QWidget, public UserNotice
{
    Q_OBJECT
public:
    static QString windowName();
    static QString title();

    explicit NoticeWindow(WindowManager& windows);
    ~NoticeWindow() override;

    // The window manager keeps the notice with this window (the clock), in its band and over it, so
    // that it can come in front of the windows kept there with it (the clock's dialogs).
    void keepOver(QWidget& owner);

    // Adds the notice last in the list and shows the window in front.
    void tell(const QString& title, const QString& text) override;
    // What the window lists, oldest first: each notice's title and text.
    const QStringList& notices() const { return notices_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onDismissClicked();
    void followModalWindow();
    void keepWithOwner();
    // The window the notice is kept with: the topmost modal window while one is open, else its owner.
    WindowManager::WindowId ownerId() const;
    bool clockKeptAbove();
    void comeToFront();

    WindowManager& windows_;
    QPointer<QWidget> owner_;
    // A modal window that opened with the newest notice is not yet on the screen: the notice comes to
    // the front again once it is.
    bool frontPending_ = false;
    QPlainTextEdit* list_;
    QPushButton* dismiss_;
    QStringList notices_;
    QPointer<QWindow> followed_;
};

} // namespace vqdbd
