// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace korvin {

// The application icon, drawn in code (resources/korvin.svg shows the same
// picture to desktop menus), so that no image plug-in is needed.
QIcon applicationIcon();

}  // namespace korvin
