// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace vqdbd::ui {

// A captionless button whose face is filled with exactly its colour (the palette's button colour):
// styles draw a button's face as a bevel or a gradient that lightens the colour, so the face is
// drawn here, inside a one-pixel dark frame that sets it off from a window of its own colour.
class ColourButton final : public QPushButton
{
    Q_OBJECT
public:
    explicit ColourButton(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vqdbd::ui
