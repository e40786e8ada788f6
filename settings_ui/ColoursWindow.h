// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DialogSupport.h"
#include "state/SettingKeys.h"

#include <QString>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vqdbd {

// The colours window: ten preset colours for the clock's digits and ten for its background, each
// recolouring the clock at once; OK stores the clock's colours. Its manual section, where a colour
// is typed as text, is built but never shown: it works from values already in the store.
class ColoursWindow final : public dialogs::Dialog<ColoursWindow>
{
    Q_OBJECT
public:
    ColoursWindow(const WindowServices& services, QWidget* owner);

    // Reads the window's place, the manual check boxes and the typed colours from the store.
    void load();

    struct Preset
    {
        const char* name;
        qint32 value;
        int left;
        int top;
        bool forText; // otherwise for the background
    };
    static const std::array<Preset, 20> kPresets;

private:
    // One side of the manual section: the text colour or the background colour.
    struct ManualColour
    {
        QCheckBox* tickbox = nullptr;
        QLineEdit* entry = nullptr;
        QLineEdit* preview = nullptr;
        settings::Setting tickboxKey;
        settings::TextSetting entryKey;
        bool forText = true;
    };

    void onPresetClicked(const Preset& preset);
    void onManualTickboxChanged(ManualColour& manual);
    void onEnterColorTextboxChanged(ManualColour& manual);
    void onOkClicked();
    void setManualLook(ManualColour& manual);
    void applyManual(const ManualColour& manual);

    ManualColour manualText_;
    ManualColour manualBackground_;
    QPushButton* okButton_ = nullptr;
};

} // namespace vqdbd
