// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DialogSupport.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace vqdbd {

// The settings window, the hub opened from the clock: it switches the clock's always-on-top check
// and opens the colours window and the alarm settings window.
class SettingsWindow final : public dialogs::Dialog<SettingsWindow>
{
    Q_OBJECT
public:
    SettingsWindow(const WindowServices& services, QWidget* owner);

    // Reads the window's place and the always-on-top switch from the store.
    void load();

    static const QString kMakerName;
    static const QString kContactAddress;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onAlwaysOnTopTickboxChanged();
    void onCreatorClicked();
    void onColorsButtonClicked();
    void onAlarmSettingsButtonClicked();
    void onOkClicked();

    QLabel* creator_ = nullptr;
    QCheckBox* alwaysOnTop_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

} // namespace vqdbd
