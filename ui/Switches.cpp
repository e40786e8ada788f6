// SPDX-License-Identifier: GPL-3.0-or-later
#include "Switches.h"

#include "state/ValueForms.h"

#include <QCheckBox>

namespace vqdbd::ui {

int switchValue(const QCheckBox& box)
{
    switch (box.checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    }
    return 0;
}

bool isOn(const QCheckBox& box)
{
    return forms::isOn(switchValue(box));
}

void whenValueChanges(QCheckBox& box, QObject& context, std::function<void()> rule)
{
    // Qt 6.7 names this signal checkStateChanged and deprecates the old one: this is the one place
    // to follow it.
    QObject::connect(&box, &QCheckBox::stateChanged, &context, [rule = std::move(rule)] { rule(); });
}

void setSwitchValue(QCheckBox& box, int value)
{
    if (value == 2)
        box.setTristate(true);
    box.setCheckState(forms::isOn(value) ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

} // namespace vqdbd::ui
