// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vqdbd {

// The name the desktop knows the program by: its desktop file's and its icon's name.
inline constexpr char kApplicationId[] = "net.vela_quill.VqDbd";

} // namespace vqdbd
