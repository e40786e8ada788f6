// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/Geometry.h"
#include "ui/Design.h"

#include <QString>
#include <Qt>

class QLineEdit;
class QWidget;

namespace vqdbd {

class SettingsStore;
class WindowManager;

namespace dialogs {

// The frame of a fixed dialog owned by another window: a caption with a close box only.
inline constexpr Qt::WindowFlags kFixedDialog
    = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// Readies a dialog for showing over its owner: the owner and the windows beneath take no input
// while it is open (their timers keep running), and it is deleted when it closes.
void makeModal(QWidget& dialog);

// The two looks of an entry box: on is enabled, not locked, on the window-background colour; off
// is disabled, locked, on light grey. Each step is taken in this order.
void setEntryOn(QLineEdit& box);
void setEntryOff(QLineEdit& box);

} // namespace dialogs
} // namespace vqdbd
