#pragma once

#include <QIcon>

namespace sundrel::app {

// The program's icon: a rail on its sleepers under a corrugated line.
QIcon programIcon();

}  // namespace sundrel::app
